// The chooser is the toolkit's font dialog put inside a dialog of the dialog facility, without its
// own buttons: the facility's buttons take their place, so the dialog is driven as any other. Its
// face list keeps every family the toolkit knows, in the toolkit's order; the faces we do not offer
// are hidden rows, so the list's own bookkeeping by row stays true.
#include "platform/font_dialog.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QKeyEvent>
#include <QListView>
#include <QSet>
#include <QStringListModel>
#include <cmath>
#include <cstring>
#include <optional>

#include "platform/beep.h"
#include "platform/dc_text.h"
#include "platform/dialog.h"
#include "platform/dialog_qt.h"
#include "platform/dialog_test.h"
#include "platform/font.h"
#include "platform/font_dialog_test.h"
#include "platform/freetype_font_engine.h"
#include "platform/gui_app.h"
#include "platform/sjis_literal.h"

namespace platform {
namespace {

constexpr const char* kTemplate = "FontChooser";
constexpr int kBold = kFontChooserBold;
constexpr int kItalic = kFontChooserItalic;
// The height at which a face is judged for the fixed-pitch list: even, where the fixed faces lay
// out on their grid.
constexpr int32_t kJudgedHeight = 16;
constexpr double kPixelsPerPoint = 96.0 / 72.0;

struct Request {
  CHOOSEFONT* chooseFont = nullptr;
  QSet<QString> offered;
  QFont initial;
};

// The toolkit's font dialog as a part of another window: it never closes itself, and Enter and
// Esc go on to the dialog around it.
class FontBrowser final : public QFontDialog {
 public:
  explicit FontBrowser(QWidget* parent, const QSet<QString>& offered) : QFontDialog(parent), m_offered(offered) {
    setWindowFlags(Qt::Widget);
    setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::NoButtons);
    setSizeGripEnabled(false);
    if (QListView* families = familyList()) {
      QObject::connect(families->model(), &QAbstractItemModel::modelReset, families, [this] { restrict(); });
    }
    restrict();
  }

  const QSet<QString>& offered() const { return m_offered; }

  // The list of faces: the one whose rows are the toolkit's families.
  QListView* familyList() const {
    const QStringList all = QFontDatabase::families();
    for (QListView* view : findChildren<QListView*>()) {
      auto* model = qobject_cast<QStringListModel*>(view->model());
      if (model && !model->stringList().isEmpty() && all.contains(model->stringList().first())) return view;
    }
    return nullptr;
  }

  std::vector<std::string> shownFaces() const {
    std::vector<std::string> out;
    QListView* families = familyList();
    if (!families) return out;
    for (int r = 0; r < families->model()->rowCount(); ++r) {
      if (!families->isRowHidden(r)) out.push_back(families->model()->index(r, 0).data().toString().toStdString());
    }
    return out;
  }

 protected:
  void done(int) override {}
  void keyPressEvent(QKeyEvent* event) override {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Escape:
        event->ignore();
        return;
      default:
        QFontDialog::keyPressEvent(event);
    }
  }

 private:
  void restrict() {
    QListView* families = familyList();
    if (!families) return;
    for (int r = 0; r < families->model()->rowCount(); ++r) {
      families->setRowHidden(r, !m_offered.contains(families->model()->index(r, 0).data().toString()));
    }
  }

  QSet<QString> m_offered;
};

FontBrowser* BrowserOf(HWND dialog) {
  DialogWindow* window = DialogFromHandle(dialog);
  return window ? window->findChild<FontBrowser*>() : nullptr;
}

// The families our font module draws as themselves, and of them the fixed ones when asked.
QSet<QString> OfferedFamilies(bool fixedOnly) {
  QSet<QString> out;
  for (const QString& family : QFontDatabase::families()) {
    const std::string name = QStringToSjis(family);
    if (FreeTypeFontEngine::FamilyForFaceName(name) != family.toStdString()) continue;
    if (FreeTypeFontEngine::Instance().Resolve(name).family != family.toStdString()) continue;  // not installed
    if (fixedOnly) {
      FontDesc desc;
      desc.height = kJudgedHeight;
      desc.faceName = name;
      const std::optional<Font> font = Font::Create(desc);
      if (!font || !IsFixedPitch(*font)) continue;
    }
    out.insert(family);
  }
  return out;
}

int32_t PixelHeight(LONG lfHeight) {
  if (lfHeight == 0) return kDefaultFontHeight;
  const int64_t magnitude = std::llabs(static_cast<int64_t>(lfHeight));
  return static_cast<int32_t>(std::clamp<int64_t>(magnitude, 1, kMaxFontHeight));
}

QFont InitialFont(const CHOOSEFONT& cf, const QSet<QString>& offered) {
  LOGFONT lf;
  if (cf.Flags & CF_INITTOLOGFONTSTRUCT) lf = *cf.lpLogFont;
  lf.lfFaceName[LF_FACESIZE - 1] = '\0';
  QString family = QString::fromStdString(std::string(FreeTypeFontEngine::FamilyForFaceName(lf.lfFaceName)));
  if (!offered.contains(family) && !offered.isEmpty()) {
    QStringList sorted(offered.begin(), offered.end());
    sorted.sort();
    family = sorted.first();
  }
  QFont font(family);
  font.setPointSizeF(PixelHeight(lf.lfHeight) / kPixelsPerPoint);
  return font;
}

void AddBrowser(HWND dialog, const Request& request) {
  DialogWindow* window = DialogFromHandle(dialog);
  if (!window) return;
  auto* browser = new FontBrowser(window->canvas(), request.offered);
  browser->setCurrentFont(request.initial);
  // Above the check boxes and buttons.
  EmbedInDialog(dialog, browser, 0);
}

// The choice into the caller's LOGFONT; false when the face shown is not one offered.
bool TakeChoice(HWND dialog, CHOOSEFONT& cf) {
  FontBrowser* browser = BrowserOf(dialog);
  if (!browser) return false;
  const QFont font = browser->currentFont();
  if (!browser->offered().contains(font.family())) return false;
  const double points = font.pointSizeF() > 0 ? font.pointSizeF() : font.pixelSize() / kPixelsPerPoint;
  const auto pixels = static_cast<int32_t>(std::clamp(std::lround(points * kPixelsPerPoint), 1L, static_cast<long>(kMaxFontHeight)));
  LOGFONT& lf = *cf.lpLogFont;
  std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
  const std::string face = QStringToSjis(font.family());
  std::memcpy(lf.lfFaceName, face.data(), std::min(face.size(), sizeof lf.lfFaceName - 1));
  lf.lfHeight = -pixels;
  lf.lfWidth = 0;
  lf.lfEscapement = 0;
  lf.lfOrientation = 0;
  lf.lfWeight = IsDlgButtonChecked(dialog, kBold) == BST_CHECKED ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = IsDlgButtonChecked(dialog, kItalic) == BST_CHECKED ? 1 : 0;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfPitchAndFamily = IsFixedPitchLogFont(lf) ? FIXED_PITCH : VARIABLE_PITCH;
  cf.iPointSize = static_cast<int>(std::lround(points * 10));
  return true;
}

INT_PTR ChooserProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      SetWindowLongPtr(dialog, DWLP_USER, lParam);
      const auto& request = *reinterpret_cast<Request*>(lParam);
      AddBrowser(dialog, request);
      const CHOOSEFONT& cf = *request.chooseFont;
      if (cf.Flags & CF_INITTOLOGFONTSTRUCT) {
        CheckDlgButton(dialog, kBold, cf.lpLogFont->lfWeight >= kEmboldenWeight ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(dialog, kItalic, cf.lpLogFont->lfItalic ? BST_CHECKED : BST_UNCHECKED);
      }
      return 1;
    }
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          auto* request = reinterpret_cast<Request*>(GetWindowLongPtr(dialog, DWLP_USER));
          if (!TakeChoice(dialog, *request->chooseFont)) {
            MessageBeep(MB_OK);
            return 1;
          }
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
    b.Caption("フォント"_sj);
    b.Resizable();
    b.Row([&] {
      b.CheckBox(kBold, "太字(&B)"_sj);
      b.CheckBox(kItalic, "斜体(&I)"_sj);
      b.Stretch();
      b.PushButton(IDOK, "OK").Default();
      b.PushButton(IDCANCEL, "キャンセル"_sj);
    });
  });
  (void)registered;
}

}  // namespace

bool IsFixedPitchLogFont(const LOGFONT& font) {
  const std::optional<Font> realised = CreateFontIndirect(&font);
  return realised && IsFixedPitch(*realised);
}

BOOL ChooseFont(CHOOSEFONT* cf) {
  if (!cf || cf->lStructSize != sizeof(CHOOSEFONT) || !cf->lpLogFont || !IsGuiThread()) return 0;
  RegisterChooser();
  Request request;
  request.offered = OfferedFamilies((cf->Flags & CF_FIXEDPITCHONLY) != 0);
  request.initial = InitialFont(*cf, request.offered);
  // The choice is written into a copy, so that a cancel leaves the caller's record as it was.
  LOGFONT chosen = *cf->lpLogFont;
  CHOOSEFONT working = *cf;
  working.lpLogFont = &chosen;
  request.chooseFont = &working;
  const INT_PTR result = DialogBoxParam(nullptr, kTemplate, cf->hwndOwner, ChooserProc, reinterpret_cast<LPARAM>(&request));
  if (result != IDOK) return 0;
  *cf->lpLogFont = chosen;
  cf->iPointSize = working.iPointSize;
  return 1;
}

namespace font_dialog_test {

std::vector<std::string> OfferedFaces(HWND chooser) {
  FontBrowser* browser = BrowserOf(chooser);
  return browser ? browser->shownFaces() : std::vector<std::string>();
}

Shown ShownFont(HWND chooser) {
  FontBrowser* browser = BrowserOf(chooser);
  if (!browser) return {};
  const QFont font = browser->currentFont();
  return {font.family().toStdString(), font.pointSizeF(), IsDlgButtonChecked(chooser, kBold) == BST_CHECKED,
          IsDlgButtonChecked(chooser, kItalic) == BST_CHECKED};
}

bool Pick(HWND chooser, std::string_view face, double points, bool bold, bool italic) {
  FontBrowser* browser = BrowserOf(chooser);
  const QString family = QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size()));
  if (!browser || !browser->offered().contains(family) || points <= 0) return false;
  QFont font(family);
  font.setPointSizeF(points);
  browser->setCurrentFont(font);
  if ((IsDlgButtonChecked(chooser, kBold) == BST_CHECKED) != bold) dialog_test::Click(chooser, kBold);
  if ((IsDlgButtonChecked(chooser, kItalic) == BST_CHECKED) != italic) dialog_test::Click(chooser, kItalic);
  return true;
}

}  // namespace font_dialog_test
}  // namespace platform
