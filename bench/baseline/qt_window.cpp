// The baseline of the start-up benchmark: a bare Qt program that opens an 800 x 600 window, paints
// one frame into it and exits, as the game does before and after its first frame. Like the game,
// it tells the benchmark when its first frame shows: one byte to the descriptor VREL_FIRST_FRAME_FD
// names.
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QWidget>

namespace {

void MarkFirstFrame() {
  static bool marked = false;
  const char* fd = std::getenv("VREL_FIRST_FRAME_FD");
  if (marked || fd == nullptr) return;
  marked = true;
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(std::atoi(fd), &byte, 1);
  close(std::atoi(fd));
}

class Canvas : public QWidget {
 public:
  Canvas() : m_frame(800, 600, QImage::Format_RGB32) { m_frame.fill(Qt::black); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.drawImage(0, 0, m_frame);
    MarkFirstFrame();
  }

 private:
  QImage m_frame;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  auto canvas = std::make_unique<Canvas>();
  canvas->setFixedSize(800, 600);
  window.setCentralWidget(canvas.release());
  window.show();
  QApplication::processEvents();
  window.centralWidget()->repaint();
  QApplication::processEvents();
  return 0;
}
