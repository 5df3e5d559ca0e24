// The delayed tool tip of the system interface's buttons: shown after the cursor has rested on a
// button for a while, faded out after it leaves.
#pragma once

#include <memory>
#include <string>
#include <string_view>

class CMemPlane;
class CTextBoxRenderer;

class CToolTip {
 public:
  // Loads the tip background of the configuration through the image cache.
  CToolTip();
  virtual ~CToolTip();
  CToolTip(const CToolTip&) = delete;
  CToolTip& operator=(const CToolTip&) = delete;

  // Called every frame while a button with a tip is under the cursor at (x, y).
  void Show(std::string_view text, float x, float y);
  // Once per frame while the window is not hidden.
  void Draw();

  // What tests look at.
  bool HasTip() const { return m_renderer != nullptr; }
  int Timer() const { return m_timer; }
  int Opacity() const { return m_opacity; }
  int X() const { return m_x; }
  int Y() const { return m_y; }
  const std::string& Text() const { return m_text; }

 private:
  std::unique_ptr<CMemPlane> m_background;
  std::unique_ptr<CTextBoxRenderer> m_renderer;
  std::string m_layoutText;  // the text with "<HR>" that the renderer's settings point into
  int m_x = 0, m_y = 0;
  int m_timer = 0;
  int m_opacity = 0;
  std::string m_text;
};
