// The browser is the toolkit's own file dialog, put inside a dialog of the dialog facility without
// its own name field, type list and buttons: the facility's controls take their place, so the
// dialog is driven as any other. The caller's template is a dialog of the facility too, made with
// the standard dialog as its owner and then placed inside it.
#include "platform/file_dialog.h"

#include <QBoxLayout>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <sys/stat.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/dialog_qt.h"
#include "platform/file_dialog_test.h"
#include "platform/gui_app.h"
#include "platform/message_box.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"

namespace platform {
namespace {

constexpr const char* kTemplate = "FileDialog";

thread_local DWORD lastError = 0;

struct Filter {
  std::string description;  // Shift-JIS
  QStringList patterns;
};

// One call, from the start of the dialog to its end.
struct Request {
  OPENFILENAME* ofn = nullptr;
  bool save = false;
  std::vector<Filter> filters;
  std::string startFolder;  // host path
  std::string startName;    // Shift-JIS
  std::vector<char> bufferBefore;
  HWND templateDialog = nullptr;
  DWORD error = 0;
  // The file pointed at last has a name that Shift-JIS cannot spell (1148 was emptied for it).
  bool pointedUnspellable = false;
};

bool IsFolder(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0;
}

// The patterns of one filter: ";" between them; "*.*" means every name, as it always did.
QStringList Patterns(const char* text) {
  QStringList out;
  for (QString piece : SjisToQString(text).split(QLatin1Char(';'))) {
    piece = piece.trimmed();
    if (piece.isEmpty()) continue;
    out << (piece == QLatin1String("*.*") ? QStringLiteral("*") : piece);
  }
  if (out.isEmpty()) out << QStringLiteral("*");
  return out;
}

std::vector<Filter> ParseFilters(const char* text) {
  std::vector<Filter> out;
  if (!text) return out;
  while (*text) {
    const char* description = text;
    text += std::strlen(text) + 1;
    if (!*text) break;  // a description without patterns ends the list
    out.push_back({description, Patterns(text)});
    text += std::strlen(text) + 1;
  }
  return out;
}

// The folder to show first (host path) and the name to put into 1148 (Shift-JIS).
void StartPlace(const OPENFILENAME& ofn, std::string* hostFolder, std::string* name) {
  const std::string file(ofn.lpstrFile, ::strnlen(ofn.lpstrFile, ofn.nMaxFile));
  std::string host;
  if (!file.empty()) {
    if (ExactHostPath(file, host) && IsFolder(host)) {
      *hostFolder = host;
      return;
    }
    // "/" is never the trail byte of a double-byte character.
    const size_t slash = file.rfind('/');
    if (slash != std::string::npos && ExactHostPath(file.substr(0, slash == 0 ? 1 : slash), host) && IsFolder(host)) {
      *hostFolder = host;
      *name = file.substr(slash + 1);
      return;
    }
    *name = file;
  }
  if (ofn.lpstrInitialDir && *ofn.lpstrInitialDir && ExactHostPath(ofn.lpstrInitialDir, host) && IsFolder(host)) {
    *hostFolder = host;
  } else {
    *hostFolder = QDir::currentPath().toStdString();
  }
}

// "." and ".." levels and repeated "/" of an absolute path resolved by its text; a final "/" stays.
std::string Normalised(const std::string& path) {
  std::vector<std::string> levels;
  size_t start = 1;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string level = path.substr(start, end - start);
    if (level == "..") {
      if (!levels.empty()) levels.pop_back();
    } else if (!level.empty() && level != ".") {
      levels.push_back(level);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& level : levels) out += "/" + level;
  if (out.empty() || (path.size() > 1 && path.back() == '/')) out += "/";
  return out;
}

class FileBrowser;

Request* RequestOf(HWND dialog) {
  DialogWindow* window = DialogFromHandle(dialog);
  if (!window || window->templateName() != kTemplate) return nullptr;
  return reinterpret_cast<Request*>(GetWindowLongPtr(dialog, DWLP_USER));
}

// The toolkit's file dialog as a part of the facility's dialog: what would end it presses the
// facility's buttons instead.
class FileBrowser final : public QFileDialog {
 public:
  FileBrowser(QWidget* parent, HWND dialog) : QFileDialog(parent), m_dialog(dialog) {
    setWindowFlags(Qt::Widget);
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontResolveSymlinks);
    setFileMode(QFileDialog::AnyFile);
    setSizeGripEnabled(false);  // the dialog around it has the frame
    for (const char* name : {"fileNameLabel", "fileNameEdit", "fileTypeLabel", "fileTypeCombo"}) {
      if (auto* w = findChild<QWidget*>(QLatin1String(name))) w->hide();
    }
    if (auto* buttons = findChild<QDialogButtonBox*>()) buttons->hide();
  }

  // A file double-clicked (or Enter on it in the list).
  void accept() override { press(IDOK); }
  void reject() override { press(IDCANCEL); }

 protected:
  void done(int) override {}

 private:
  void press(int id) {
    if (DialogWindow* window = DialogFromHandle(m_dialog)) window->pressButton(id);
  }
  HWND m_dialog;
};

FileBrowser* BrowserOf(HWND dialog) {
  DialogWindow* window = RequestOf(dialog) ? DialogFromHandle(dialog) : nullptr;
  return window ? window->findChild<FileBrowser*>() : nullptr;
}

void ShowFilter(HWND dialog, const Request& request) {
  FileBrowser* browser = BrowserOf(dialog);
  const auto index = static_cast<size_t>(SendDlgItemMessage(dialog, kFileDialogTypes, CB_GETCURSEL, 0, 0));
  if (!browser || index >= request.filters.size()) return;
  // The description stays in 1136; the browser only needs the patterns.
  browser->setNameFilter(QStringLiteral("* (%1)").arg(request.filters[index].patterns.join(QLatin1Char(' '))));
}

void Pointed(HWND dialog, const QString& hostPath) {
  Request* request = RequestOf(dialog);
  if (!request) return;
  request->pointedUnspellable = false;
  const QFileInfo info(hostPath);
  if (!info.exists() || info.isDir()) return;
  std::string name;
  if (ExactPathFromHost(info.fileName().toStdString(), name)) {
    SetDlgItemText(dialog, kFileDialogName, name.c_str());
  } else {
    // Never a wrong spelling of the name in the edit.
    SetDlgItemText(dialog, kFileDialogName, "");
    request->pointedUnspellable = true;
  }
}

void AddBrowser(HWND dialog, const Request& request) {
  DialogWindow* window = DialogFromHandle(dialog);
  auto* layout = window ? qobject_cast<QBoxLayout*>(window->canvas()->layout()) : nullptr;
  if (!layout) return;
  auto* browser = new FileBrowser(window->canvas(), dialog);
  if (auto* model = browser->findChild<QFileSystemModel*>()) model->setNameFilterDisables(false);
  browser->setDirectory(QString::fromStdString(request.startFolder));
  layout->insertWidget(0, browser, 1);
  QObject::connect(browser, &QFileDialog::currentChanged, [dialog](const QString& p) { Pointed(dialog, p); });
  QObject::connect(browser, &QFileDialog::directoryEntered, [dialog](const QString&) {
    if (Request* r = RequestOf(dialog)) r->pointedUnspellable = false;
  });
}

// Enter and Esc in the template are the standard dialog's keys.
class TemplateKeys final : public QObject {
 public:
  TemplateKeys(DialogWindow& dialog, QObject* parent) : QObject(parent), m_dialog(&dialog) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || !m_dialog) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    switch (key->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        m_dialog->pressEnter();
        return true;
      case Qt::Key_Escape:
        m_dialog->pressButton(IDCANCEL);
        return true;
      default:
        return false;
    }
  }

 private:
  QPointer<DialogWindow> m_dialog;
};

// Puts the template's dialog inside the place 1119.
void Embed(HWND dialog, HWND templateDialog) {
  DialogWindow* window = DialogFromHandle(dialog);
  DialogWindow* inner = DialogFromHandle(templateDialog);
  Control* place = window ? window->control(kFileDialogTemplatePlace) : nullptr;
  QLabel* label = place ? place->label() : nullptr;
  if (!inner || !label) return;
  auto* box = new QVBoxLayout(label);
  box->setContentsMargins(0, 0, 0, 0);
  inner->setParent(label, Qt::Widget);
  box->addWidget(inner);
  inner->installEventFilter(new TemplateKeys(*window, inner));
  inner->show();
  // Made as a window, the template took a window's least size; inside, it takes the height its
  // controls ask for and the dialog's width. A label sizes itself by its text: the template's
  // size is its least.
  const QSize hint = inner->sizeHint();
  inner->setMinimumSize(hint);
  inner->setMaximumSize(QWIDGETSIZE_MAX, hint.height());
  label->setMinimumSize(hint);
  box->activate();
}

void TakeTemplateOut(Request& request) {
  const HWND inner = request.templateDialog;
  request.templateDialog = nullptr;
  DialogWindow* window = DialogFromHandle(inner);
  if (!window) return;
  // Out of the standard dialog's widgets first: it may have to wait for the pump to be deleted,
  // and must not go a second time with the standard dialog.
  window->hide();
  window->setParent(nullptr);
  DestroyWindow(inner);
}

int Ask(HWND dialog, const std::string& text, UINT flags) {
  return MessageBox(dialog, text, GetWindowText(dialog), flags);
}

void Refuse(HWND dialog, const std::string& text) { Ask(dialog, text, MB_OK | MB_ICONEXCLAMATION); }

constexpr const char* kUnspellable = "この名前には Shift_JIS で表せない文字があるため、使えません。"_sj;

// What IDOK does with the name in 1148.
void Accept(HWND dialog, Request& request) {
  OPENFILENAME& ofn = *request.ofn;
  const std::string typed = GetWindowText(GetDlgItem(dialog, kFileDialogName));
  if (typed.empty()) {
    if (request.pointedUnspellable) Refuse(dialog, kUnspellable);
    return;
  }
  FileBrowser* browser = BrowserOf(dialog);
  std::string path = typed;
  if (path[0] != '/') {
    std::string folder;
    if (!browser || !ExactPathFromHost(browser->directory().absolutePath().toStdString(), folder)) {
      Refuse(dialog, kUnspellable);
      return;
    }
    path = folder + "/" + typed;
  }
  path = Normalised(path);
  std::string host;
  if (!ExactHostPath(path, host)) {
    Refuse(dialog, kUnspellable);
    return;
  }
  if (IsFolder(host)) {
    if (browser) browser->setDirectory(QString::fromStdString(host));
    SetDlgItemText(dialog, kFileDialogName, "");
    return;
  }
  // A name ending with "/" names a folder, which is not there.
  const size_t slash = path.back() == '/' ? path.size() - 1 : path.rfind('/');
  const std::string folder = path.substr(0, slash == 0 ? 1 : slash);
  std::string hostFolder;
  if (!ExactHostPath(folder, hostFolder) || !IsFolder(hostFolder)) {
    Refuse(dialog, "'" + folder + "'\n"_sj + "というフォルダーはありません。"_sj);
    return;
  }
  if (path.size() > ofn.nMaxFile - 1) {
    Refuse(dialog, "'" + path + "'\n"_sj + "というパスは長すぎます。"_sj);
    return;
  }
  if (!Exists(host)) {
    // With both flags the question wins: a file that is to be made cannot exist yet.
    if (ofn.Flags & OFN_CREATEPROMPT) {
      if (Ask(dialog, path + " は存在しません。\n作成しますか？"_sj, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    } else if (ofn.Flags & OFN_FILEMUSTEXIST) {
      Refuse(dialog, path + "\nファイルが見つかりません。\nファイル名を確かめてください。"_sj);
      return;
    }
  } else if (request.save && (ofn.Flags & OFN_OVERWRITEPROMPT)) {
    if (Ask(dialog, path + " は既に存在します。\n上書きしますか？"_sj, MB_YESNO | MB_ICONEXCLAMATION) != IDYES) return;
  }
  if (!IsWindow(dialog)) return;

  std::memcpy(ofn.lpstrFile, path.c_str(), path.size() + 1);
  if ((ofn.Flags & OFN_ENABLEHOOK) && IsWindow(request.templateDialog)) {
    OFNOTIFY notify;
    notify.hdr = NMHDR{dialog, 0, CDN_FILEOK};
    notify.lpOFN = &ofn;
    notify.pszFile = ofn.lpstrFile;
    SetWindowLongPtr(request.templateDialog, DWLP_MSGRESULT, 0);
    const LRESULT refused = SendMessage(request.templateDialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    if (!IsWindow(dialog)) return;
    if (refused) {
      std::memcpy(ofn.lpstrFile, request.bufferBefore.data(), request.bufferBefore.size());
      return;
    }
  }
  const LRESULT type = SendDlgItemMessage(dialog, kFileDialogTypes, CB_GETCURSEL, 0, 0);
  if (type >= 0) ofn.nFilterIndex = static_cast<DWORD>(type + 1);
  if (!(ofn.Flags & OFN_HIDEREADONLY)) {
    if (IsDlgButtonChecked(dialog, kFileDialogReadOnly) == BST_CHECKED) {
      ofn.Flags |= OFN_READONLY;
    } else {
      ofn.Flags &= ~OFN_READONLY;
    }
  }
  EndDialog(dialog, IDOK);
}

INT_PTR InitDialog(HWND dialog, Request& request) {
  SetWindowLongPtr(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&request));
  const OPENFILENAME& ofn = *request.ofn;
  SetWindowText(dialog, request.save ? static_cast<const char*>("名前を付けて保存"_sj) : "開く"_sj);
  SetDlgItemText(dialog, IDOK, request.save ? static_cast<const char*>("保存(&S)"_sj) : "開く(&O)"_sj);
  if (!(ofn.Flags & OFN_SHOWHELP)) ShowWindow(GetDlgItem(dialog, kFileDialogHelp), SW_HIDE);
  if (ofn.Flags & OFN_HIDEREADONLY) {
    ShowWindow(GetDlgItem(dialog, kFileDialogReadOnly), SW_HIDE);
  } else {
    CheckDlgButton(dialog, kFileDialogReadOnly, (ofn.Flags & OFN_READONLY) ? BST_CHECKED : BST_UNCHECKED);
  }
  for (const Filter& filter : request.filters) {
    SendDlgItemMessage(dialog, kFileDialogTypes, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(filter.description.c_str()));
  }
  const size_t first = ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= request.filters.size() ? ofn.nFilterIndex - 1 : 0;
  SendDlgItemMessage(dialog, kFileDialogTypes, CB_SETCURSEL, first, 0);
  SetDlgItemText(dialog, kFileDialogName, request.startName.c_str());
  AddBrowser(dialog, request);
  ShowFilter(dialog, request);

  if (ofn.Flags & OFN_ENABLETEMPLATE) {
    const DLGPROC hook = (ofn.Flags & OFN_ENABLEHOOK) ? ofn.lpfnHook : nullptr;
    const HWND inner = CreateDialogParam(ofn.hInstance, ofn.lpTemplateName, dialog, hook,
                                         reinterpret_cast<LPARAM>(request.ofn));
    if (!inner) {
      request.error = CDERR_FINDRESFAILURE;
      EndDialog(dialog, -1);
      return 0;
    }
    request.templateDialog = inner;
    Embed(dialog, inner);
  }

  DialogWindow* window = DialogFromHandle(dialog);
  window->canvas()->layout()->activate();
  window->adjustSize();
  window->centre(dynamic_cast<Window*>(window->parentWidget()));
  return 1;
}

INT_PTR FileDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return InitDialog(dialog, *reinterpret_cast<Request*>(lParam));
  Request* request = RequestOf(dialog);
  if (!request) return 0;
  switch (message) {
    case WM_SIZE:
      // The template's dialog stands for the whole dialog to its hook.
      if (IsWindow(request->templateDialog)) {
        RECT r;
        GetClientRect(request->templateDialog, &r);
        SendMessage(request->templateDialog, WM_SIZE, wParam, MAKELPARAM(static_cast<unsigned>(r.right), static_cast<unsigned>(r.bottom)));
      }
      return 0;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          Accept(dialog, *request);
          return 1;
        case IDCANCEL:
          EndDialog(dialog, IDCANCEL);
          return 1;
        case kFileDialogTypes:
          if (HIWORD(wParam) == CBN_SELCHANGE) ShowFilter(dialog, *request);
          return 1;
        default:
          return 0;
      }
    case WM_DESTROY:
      TakeTemplateOut(*request);
      return 0;
    default:
      return 0;
  }
}

void RegisterFileDialog() {
  static const bool registered = RegisterDialogTemplate(kTemplate, [](DialogBuilder& b) {
    b.Caption("開く"_sj);
    b.Resizable();
    b.Row([&] {
      b.StaticText(kFileDialogNameLabel, "ファイル名(&N):"_sj).Width(20);
      b.Edit(kFileDialogName).Width(40);
      b.PushButton(IDOK, "開く(&O)"_sj).Default().Width(12);
    });
    b.Row([&] {
      b.StaticText(kFileDialogTypeLabel, "ファイルの種類(&T):"_sj).Width(20);
      b.DropDownList(kFileDialogTypes).Width(40);
      b.PushButton(IDCANCEL, "キャンセル"_sj).Width(12);
    });
    b.Row([&] {
      b.CheckBox(kFileDialogReadOnly, "読み取り専用ファイルとして開く(&R)"_sj);
      b.Stretch();
      b.PushButton(kFileDialogHelp, "ヘルプ(&H)"_sj).Width(12);
    });
    b.StaticText(kFileDialogTemplatePlace, "").NoPrefix();
  });
  (void)registered;
}

BOOL RunFileDialog(OPENFILENAME* ofn, bool save) {
  lastError = 0;
  if (!ofn) {
    lastError = CDERR_INITIALIZATION;
    return 0;
  }
  if (ofn->lStructSize != sizeof(OPENFILENAME)) {
    lastError = CDERR_STRUCTSIZE;
    return 0;
  }
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
    lastError = CDERR_INITIALIZATION;
    return 0;
  }
  if ((ofn->Flags & OFN_ENABLEHOOK) && !ofn->lpfnHook) {
    lastError = CDERR_NOHOOK;
    return 0;
  }
  if (((ofn->Flags & OFN_ENABLEHOOK) && !(ofn->Flags & OFN_ENABLETEMPLATE)) ||
      ((ofn->Flags & OFN_ENABLETEMPLATE) && !ofn->lpTemplateName)) {
    lastError = CDERR_NOTEMPLATE;
    return 0;
  }
  EnsureGuiApp();
  if (!IsGuiThread()) {
    lastError = CDERR_INITIALIZATION;
    return 0;
  }
  RegisterFileDialog();
  Request request;
  request.ofn = ofn;
  request.save = save;
  request.filters = ParseFilters(ofn->lpstrFilter);
  request.bufferBefore.assign(ofn->lpstrFile, ofn->lpstrFile + ofn->nMaxFile);
  StartPlace(*ofn, &request.startFolder, &request.startName);
  const INT_PTR result =
      DialogBoxParam(nullptr, kTemplate, ofn->hwndOwner, FileDialogProc, reinterpret_cast<LPARAM>(&request));
  if (result == IDOK) return 1;
  lastError = request.error ? request.error : result == -1 ? CDERR_DIALOGFAILURE : 0;
  return 0;
}

}  // namespace

BOOL GetOpenFileName(OPENFILENAME* ofn) { return RunFileDialog(ofn, false); }
BOOL GetSaveFileName(OPENFILENAME* ofn) { return RunFileDialog(ofn, true); }
DWORD CommDlgExtendedError() { return lastError; }

HWND GetFileDialog(HWND templateDialog) {
  DialogWindow* inner = DialogFromHandle(templateDialog);
  if (!inner) return nullptr;
  for (QWidget* p = inner->parentWidget(); p; p = p->parentWidget()) {
    // Its owner while it is being made (and its hook hears WM_INITDIALOG), its holder after.
    if (auto* window = dynamic_cast<DialogWindow*>(p)) return RequestOf(window) ? window : nullptr;
  }
  return nullptr;
}

namespace file_dialog_test {

std::string ShownFolder(HWND fileDialog) {
  FileBrowser* browser = BrowserOf(fileDialog);
  return browser ? browser->directory().absolutePath().toStdString() : std::string();
}

std::string ShownPatterns(HWND fileDialog) {
  FileBrowser* browser = BrowserOf(fileDialog);
  if (!browser) return {};
  const QString filter = browser->selectedNameFilter();
  const qsizetype open = filter.lastIndexOf(QLatin1Char('('));
  const qsizetype close = filter.lastIndexOf(QLatin1Char(')'));
  return open >= 0 && close > open ? filter.mid(open + 1, close - open - 1).toStdString() : std::string();
}

bool Point(HWND fileDialog, std::string_view name) {
  FileBrowser* browser = BrowserOf(fileDialog);
  if (!browser) return false;
  const QString path = QDir(browser->directory()).filePath(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  if (!QFileInfo::exists(path)) return false;
  emit browser->currentChanged(path);
  return true;
}

bool Open(HWND fileDialog, std::string_view name) {
  if (!Point(fileDialog, name)) return false;
  FileBrowser* browser = BrowserOf(fileDialog);
  const QString path = QDir(browser->directory()).filePath(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  if (QFileInfo(path).isDir()) {
    browser->setDirectory(path);
    emit browser->directoryEntered(path);
  } else {
    browser->accept();
  }
  return true;
}

HWND TemplateDialog(HWND fileDialog) {
  Request* request = RequestOf(fileDialog);
  return request ? request->templateDialog : nullptr;
}

}  // namespace file_dialog_test

}  // namespace platform
