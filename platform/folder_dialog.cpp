// The browser is the toolkit's own file dialog, set to folders only and put inside a dialog of the
// dialog facility, without its own name field and buttons: the facility's edit and buttons take
// their place, so the dialog is driven as any other.
#include "platform/folder_dialog.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <sys/stat.h>

#include "platform/beep.h"
#include "platform/dialog.h"
#include "platform/dialog_qt.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"

namespace platform {
namespace {

constexpr const char* kTemplate = "FolderChooser";
constexpr int kTitle = 1147;

struct Request {
  std::string title;
  std::string initial;
  std::string chosen;
};

// The toolkit's file dialog as a part of another window: it never closes itself.
class FolderBrowser final : public QFileDialog {
 public:
  explicit FolderBrowser(QWidget* parent) : QFileDialog(parent) {
    setWindowFlags(Qt::Widget);
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    setFileMode(QFileDialog::Directory);
    setSizeGripEnabled(false);  // the dialog around it has the frame
    for (const char* name : {"fileNameLabel", "fileNameEdit", "fileTypeLabel", "fileTypeCombo"}) {
      if (auto* w = findChild<QWidget*>(QLatin1String(name))) w->hide();
    }
    if (auto* buttons = findChild<QDialogButtonBox*>()) buttons->hide();
  }

 protected:
  void done(int) override {}
};

bool IsFolder(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string WithoutFinalSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The exact path the edit names, taken within the browser's folder when it is not absolute.
std::string TypedFolder(HWND dialog, const FolderBrowser* browser) {
  char text[4096];
  GetDlgItemText(dialog, kFolderChooserPath, text, sizeof text);
  std::string path = text;
  if (path.empty() || path[0] != '/') {
    std::string base;
    if (!browser || !ExactPathFromHost(browser->directory().absolutePath().toStdString(), base)) return {};
    path = WithoutFinalSlash(base) + "/" + path;
  }
  return path;
}

FolderBrowser* BrowserOf(HWND dialog) {
  DialogWindow* window = DialogFromHandle(dialog);
  return window ? window->findChild<FolderBrowser*>() : nullptr;
}

void ShowPicked(HWND dialog, const QString& hostPath) {
  std::string path;
  if (!QFileInfo(hostPath).isDir() || !ExactPathFromHost(QDir::cleanPath(hostPath).toStdString(), path)) return;
  SetDlgItemText(dialog, kFolderChooserPath, path.c_str());
}

void AddBrowser(HWND dialog, const std::string& initial) {
  DialogWindow* window = DialogFromHandle(dialog);
  if (!window) return;
  auto* browser = new FolderBrowser(window->canvas());
  std::string hostInitial;
  if (!initial.empty() && ExactHostPath(initial, hostInitial) && IsFolder(hostInitial)) {
    browser->setDirectory(QString::fromStdString(hostInitial));
  }
  QObject::connect(browser, &QFileDialog::currentChanged, [dialog](const QString& p) { ShowPicked(dialog, p); });
  QObject::connect(browser, &QFileDialog::directoryEntered, [dialog](const QString& p) { ShowPicked(dialog, p); });
  // Below the title, above the edit.
  EmbedInDialog(dialog, browser, 1);
}

INT_PTR ChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* request = reinterpret_cast<Request*>(lParam);
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      SetDlgItemText(dialog, kTitle, request->title.c_str());
      SetDlgItemText(dialog, kFolderChooserPath, WithoutFinalSlash(request->initial).c_str());
      AddBrowser(dialog, request->initial);
      return 1;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          auto* request = reinterpret_cast<Request*>(GetWindowLongPtr(dialog, DWLP_USER));
          const std::string path = TypedFolder(dialog, BrowserOf(dialog));
          std::string host;
          if (path.empty() || !ExactHostPath(path, host) || !IsFolder(host)) {
            MessageBeep(MB_OK);
            return 1;
          }
          request->chosen = WithoutFinalSlash(path);
          EndDialog(dialog, IDOK);
          return 1;
        }
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return 1;
        default:
          return 0;
      }
    default:
      return 0;
  }
}

void RegisterChooser() {
  static const bool registered = RegisterDialogTemplate(kTemplate, [](DialogBuilder& b) {
    b.Caption("フォルダーの選択"_sj);
    b.Resizable();
    b.StaticText(kTitle, "").NoPrefix();
    b.Row([&] {
      b.StaticText(-1, "フォルダー(&F):"_sj);
      b.Edit(kFolderChooserPath).Width(40);
    });
    b.Row([&] {
      b.Stretch();
      b.PushButton(IDOK, "OK").Default();
      b.PushButton(IDCANCEL, "キャンセル"_sj);
    });
  });
  (void)registered;
}

}  // namespace

bool BrowseForFolder(HWND owner, std::string_view title, std::string_view initialFolder, std::string* chosen) {
  RegisterChooser();
  Request request{std::string(title), std::string(initialFolder), {}};
  const INT_PTR result =
      DialogBoxParam(nullptr, kTemplate, owner, ChooserProc, reinterpret_cast<LPARAM>(&request));
  if (result != IDOK) return false;
  if (chosen) *chosen = request.chosen;
  return true;
}

}  // namespace platform
