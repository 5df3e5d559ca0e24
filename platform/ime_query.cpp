// The input method's queries of a canvas, answered by its window's provider.
#include "platform/ime_query.h"

#include <QFont>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QRect>
#include <QString>
#include <QVariant>
#include <algorithm>
#include <cstdlib>

#include "platform/freetype_font_engine.h"
#include "platform/window_qt.h"

namespace platform {
namespace {

// Positions travel in a message's 16-bit halves.
constexpr size_t kMaxReconversionUnits = 0xFFFF;

// The provider's reconversion text with its target kept inside it.
ImeReconversion Served(ImeQueryProvider& provider) {
  ImeReconversion r = provider.ImeReconversionText();
  if (r.text.size() > kMaxReconversionUnits) r.text.resize(kMaxReconversionUnits);
  const int size = static_cast<int>(r.text.size());
  r.targetStart = std::clamp(r.targetStart, 0, size);
  r.targetLength = std::clamp(r.targetLength, 0, size - r.targetStart);
  return r;
}

QString ToQString(std::u16string_view text, int from, int length) {
  return QString(reinterpret_cast<const QChar*>(text.data() + from), length);
}

QFont ToQFont(const Font& font) {
  const FontDesc& desc = font.Desc();
  QFont q(QString::fromLatin1(FreeTypeFontEngine::FamilyForFaceName(desc.faceName)));
  q.setPixelSize(std::max(1, std::abs(desc.height)));
  q.setWeight(static_cast<QFont::Weight>(std::clamp<int>(desc.weight, 1, 1000)));
  q.setItalic(desc.italic);
  q.setUnderline(desc.underline);
  return q;
}

}  // namespace

bool SetImeQueryProvider(HWND hwnd, ImeQueryProvider* provider) {
  Window* window = WindowFromHandle(hwnd);
  if (!window) return false;
  window->setImeProvider(provider);
  return true;
}

ImeQueryProvider* GetImeQueryProvider(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  return window ? window->imeProvider() : nullptr;
}

void UpdateImeQueries(HWND hwnd) {
  Window* window = WindowFromHandle(hwnd);
  if (!window || !window->canvas()->hasFocus()) return;
  QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
}

QVariant InputMethodAnswer(Window& window, Qt::InputMethodQuery query) {
  ImeQueryProvider* provider = window.destroying() ? nullptr : window.imeProvider();
  if (!provider) return {};
  switch (query) {
    case Qt::ImCursorRectangle: {
      const RECT r = provider->ImeCaretRect();
      return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    case Qt::ImFont: {
      const Font* font = provider->ImeFont();
      return font ? QVariant(ToQFont(*font)) : QVariant();
    }
    case Qt::ImSurroundingText: {
      const ImeReconversion r = Served(*provider);
      return ToQString(r.text, 0, static_cast<int>(r.text.size()));
    }
    case Qt::ImCursorPosition: {
      const ImeReconversion r = Served(*provider);
      return r.targetStart + r.targetLength;
    }
    case Qt::ImAnchorPosition:
      return Served(*provider).targetStart;
    case Qt::ImCurrentSelection: {
      const ImeReconversion r = Served(*provider);
      return ToQString(r.text, r.targetStart, r.targetLength);
    }
    case Qt::ImTextBeforeCursor: {
      const ImeReconversion r = Served(*provider);
      return ToQString(r.text, 0, r.targetStart + r.targetLength);
    }
    case Qt::ImTextAfterCursor: {
      const ImeReconversion r = Served(*provider);
      const int cursor = r.targetStart + r.targetLength;
      return ToQString(r.text, cursor, static_cast<int>(r.text.size()) - cursor);
    }
    default:
      return {};
  }
}

std::optional<std::pair<int, int>> ReplacedRange(Window& window, const QInputMethodEvent& event) {
  if (event.replacementStart() == 0 && event.replacementLength() == 0) return std::nullopt;
  ImeQueryProvider* provider = window.destroying() ? nullptr : window.imeProvider();
  if (!provider) return std::nullopt;
  // Asked afresh, so that the range counts in the text the window remembers serving last.
  const ImeReconversion r = Served(*provider);
  const int size = static_cast<int>(r.text.size());
  const int start = std::clamp(r.targetStart + r.targetLength + event.replacementStart(), 0, size);
  const int length = std::clamp(event.replacementLength(), 0, size - start);
  return std::pair(start, length);
}

}  // namespace platform
