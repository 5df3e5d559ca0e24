#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gui_app.h"
#include "platform/sjis.h"

namespace platform {
namespace {

constexpr UINT kFirstRegistered = 0xC000;
constexpr UINT kRegisteredCount = 0x4000;
constexpr std::string_view kMimePrefix = "application/x-tovara-";

struct ClipboardState {
  bool open = false;
  HWND owner = nullptr;
  // The contents being made between EmptyClipboard (or the first SetClipboardData) and
  // CloseClipboard; null when nothing changed.
  std::unique_ptr<QMimeData> pending;
  // What this process last handed the clipboard; null once the clipboard dropped it.
  QPointer<QMimeData> handed;
};

// The names registered in this process, from any thread.
struct FormatNames {
  std::mutex mutex;
  std::map<UINT, std::string> names;
};

FormatNames& Names() {
  static FormatNames names;
  return names;
}

ClipboardState& State() {
  static ClipboardState state;
  return state;
}

bool IsTextFormat(UINT format) { return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT; }
bool IsRegistered(UINT format) { return format >= kFirstRegistered && format < kFirstRegistered + kRegisteredCount; }

QString MimeType(UINT format) { return QString::fromLatin1(kMimePrefix.data(), kMimePrefix.size()) + QString::number(format); }

// The registered number a MIME type names, or 0.
UINT FormatOfMimeType(const QString& type) {
  const QString prefix = QString::fromLatin1(kMimePrefix.data(), kMimePrefix.size());
  if (!type.startsWith(prefix)) return 0;
  bool ok = false;
  const uint n = type.mid(prefix.size()).toUInt(&ok);
  return ok && IsRegistered(n) && QString::number(n) == type.mid(prefix.size()) ? n : 0;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// FNV-1a over the name without ASCII case.
UINT NameHash(std::string_view name) {
  uint32_t h = 2166136261u;
  for (char c : name) {
    h ^= static_cast<unsigned char>(AsciiUpper(c));
    h *= 16777619u;
  }
  return h;
}

const QMimeData* Current() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard ? clipboard->mimeData() : nullptr;
}

QMimeData* Pending() {
  ClipboardState& s = State();
  if (!s.pending) {
    s.pending = std::make_unique<QMimeData>();
    if (const QMimeData* current = Current()) {
      for (const QString& type : current->formats()) s.pending->setData(type, current->data(type));
    }
  }
  return s.pending.get();
}

// The text of a text format's bytes, up to its first NUL.
QString TextOf(UINT format, std::string_view data) {
  if (format == CF_UNICODETEXT) {
    std::u16string units;
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
      const char16_t u = static_cast<char16_t>(static_cast<unsigned char>(data[i]) | static_cast<unsigned char>(data[i + 1]) << 8);
      if (u == 0) break;
      units.push_back(u);
    }
    return QString::fromUtf16(units.data(), static_cast<qsizetype>(units.size()));
  }
  data = data.substr(0, data.find('\0'));
  return QString::fromStdString(SjisToUtf8(data));
}

std::string BytesOf(UINT format, const QString& text) {
  if (format == CF_UNICODETEXT) {
    std::string bytes;
    for (QChar c : text) {
      bytes.push_back(static_cast<char>(c.unicode() & 0xFF));
      bytes.push_back(static_cast<char>(c.unicode() >> 8));
    }
    bytes.append(2, '\0');
    return bytes;
  }
  std::string bytes = Utf8ToSjis(text.toStdString());
  bytes.push_back('\0');
  return bytes;
}

std::vector<UINT> AvailableFormats(const QMimeData* data) {
  std::vector<UINT> formats;
  if (!data) return formats;
  if (data->hasText()) formats.insert(formats.end(), {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT});
  for (const QString& type : data->formats()) {
    if (UINT n = FormatOfMimeType(type)) formats.push_back(n);
  }
  return formats;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  if (!IsGuiThread()) return 0;
  ClipboardState& s = State();
  if (s.open && s.owner != owner) return 0;
  s.open = true;
  s.owner = owner;
  return 1;
}

BOOL CloseClipboard() {
  ClipboardState& s = State();
  if (!IsGuiThread() || !s.open) return 0;
  s.open = false;
  s.owner = nullptr;
  if (s.pending) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
      s.handed = s.pending.get();
      clipboard->setMimeData(s.pending.release());
    }
    s.pending.reset();
  }
  return 1;
}

BOOL EmptyClipboard() {
  ClipboardState& s = State();
  if (!IsGuiThread() || !s.open) return 0;
  s.pending = std::make_unique<QMimeData>();
  return 1;
}

BOOL SetClipboardData(UINT format, std::string_view data) {
  ClipboardState& s = State();
  if (!IsGuiThread() || !s.open) return 0;
  if (IsTextFormat(format)) {
    Pending()->setText(TextOf(format, data));
  } else if (IsRegistered(format)) {
    Pending()->setData(MimeType(format), QByteArray(data.data(), static_cast<qsizetype>(data.size())));
  } else {
    return 0;
  }
  return 1;
}

std::optional<std::string> GetClipboardData(UINT format) {
  if (!IsGuiThread() || !State().open) return std::nullopt;
  const QMimeData* data = Current();
  if (!data) return std::nullopt;
  if (IsTextFormat(format)) {
    if (!data->hasText()) return std::nullopt;
    return BytesOf(format, data->text());
  }
  if (!IsRegistered(format) || !data->hasFormat(MimeType(format))) return std::nullopt;
  const QByteArray bytes = data->data(MimeType(format));
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

BOOL IsClipboardFormatAvailable(UINT format) {
  if (!IsGuiThread()) return 0;
  const std::vector<UINT> formats = AvailableFormats(Current());
  return std::find(formats.begin(), formats.end(), format) != formats.end() ? 1 : 0;
}

UINT EnumClipboardFormats(UINT format) {
  if (!IsGuiThread() || !State().open) return 0;
  const std::vector<UINT> formats = AvailableFormats(Current());
  if (format == 0) return formats.empty() ? 0 : formats.front();
  auto it = std::find(formats.begin(), formats.end(), format);
  return it == formats.end() || it + 1 == formats.end() ? 0 : *(it + 1);
}

UINT RegisterClipboardFormat(std::string_view name) {
  if (name.empty()) return 0;
  std::lock_guard lock(Names().mutex);
  auto& names = Names().names;
  UINT format = kFirstRegistered + NameHash(name) % kRegisteredCount;
  // Another name on the same number (rare) moves to the next free one.
  for (UINT tries = 0; tries < kRegisteredCount; ++tries) {
    auto it = names.find(format);
    if (it == names.end()) {
      names.emplace(format, std::string(name));
      return format;
    }
    if (SameName(it->second, name)) return format;
    format = format + 1 == kFirstRegistered + kRegisteredCount ? kFirstRegistered : format + 1;
  }
  return 0;
}

std::string RegisteredFormatMimeType(UINT format) {
  return IsRegistered(format) ? MimeType(format).toStdString() : std::string();
}

UINT RegisteredFormatOfMimeType(std::string_view mimeType) {
  return FormatOfMimeType(QString::fromLatin1(mimeType.data(), static_cast<qsizetype>(mimeType.size())));
}

bool OwnsClipboard() {
  if (!IsGuiThread()) return false;
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard) return false;
  if (clipboard->ownsClipboard()) return true;
  // The desktop's own answer is false where no other program can take it (offscreen).
  const QMimeData* handed = State().handed.data();
  return handed && handed == clipboard->mimeData();
}

ClipboardSnapshot SnapshotClipboard() {
  ClipboardSnapshot snapshot;
  if (!IsGuiThread()) return snapshot;
  const QMimeData* data = Current();
  if (!data) return snapshot;
  for (const QString& type : data->formats()) {
    const QByteArray bytes = data->data(type);
    snapshot.push_back({type.toStdString(), std::string(bytes.constData(), static_cast<size_t>(bytes.size()))});
  }
  return snapshot;
}

bool PutClipboardSnapshot(const ClipboardSnapshot& snapshot) {
  ClipboardState& s = State();
  QClipboard* clipboard = IsGuiThread() ? QGuiApplication::clipboard() : nullptr;
  if (!clipboard || s.open || snapshot.empty()) return false;
  auto data = std::make_unique<QMimeData>();
  for (const ClipboardEntry& entry : snapshot) {
    data->setData(QString::fromStdString(entry.mimeType),
                  QByteArray(entry.bytes.data(), static_cast<qsizetype>(entry.bytes.size())));
  }
  s.handed = data.get();
  clipboard->setMimeData(data.release());
  return true;
}

std::string GetClipboardFormatName(UINT format) {
  std::lock_guard lock(Names().mutex);
  const auto& names = Names().names;
  auto it = names.find(format);
  return it == names.end() ? std::string() : it->second;
}

}  // namespace platform
