#include "dialogs/html_font_metrics.h"

#include <cstring>
#include <map>
#include <memory>

namespace {

struct Key {
  LOGFONTA Font;
  int Pixels;
};

// Keys are compared as bytes: the fonts that give them keep every unused byte cleared.
struct KeyLess {
  bool operator()(const Key& a, const Key& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }
};

struct Cache {
  std::map<Key, std::unique_ptr<THtmlFontMetrics>, KeyLess> ByDescription;
  Key LastKey{};
  THtmlFontMetrics* Last = nullptr;
};

Cache& TheCache() {
  static auto* cache = new Cache;  // outlives the static objects
  return *cache;
}

Key MakeKey(const LOGFONTA& Font, int Pixels) {
  Key k;
  std::memset(&k, 0, sizeof k);
  k.Font = Font;
  k.Pixels = Pixels;
  return k;
}

}  // namespace

THtmlFontMetrics* HtmlCachedFontMetrics(const LOGFONTA& Font, int Pixels) {
  Cache& c = TheCache();
  Key k = MakeKey(Font, Pixels);
  if (c.Last && std::memcmp(&k, &c.LastKey, sizeof k) == 0) return c.Last;
  auto it = c.ByDescription.find(k);
  if (it == c.ByDescription.end()) return nullptr;
  c.LastKey = k;
  c.Last = it->second.get();
  return c.Last;
}

THtmlFontMetrics& HtmlMeasureFontMetrics(HDC DC, const LOGFONTA& Font, int Pixels) {
  Cache& c = TheCache();
  auto m = std::make_unique<THtmlFontMetrics>();
  TEXTMETRICW tm{};
  GetTextMetricsW(DC, &tm);
  SIZE sz{};
  GetTextExtentPoint32W(DC, L"gh", 2, &sz);
  m->Height = sz.cy;
  m->Overhang = tm.tmOverhang;
  INT widths[0x250];
  if (GetCharWidth32W(DC, 0, 0x24F, widths))
    for (int i = 0; i < 0x250; ++i) m->Latin[i] = static_cast<short>(widths[i]);
  // A text of many faces and sizes must not make the cache grow without end.
  if (c.ByDescription.size() >= 256) {
    c.ByDescription.clear();
    c.Last = nullptr;
  }
  Key k = MakeKey(Font, Pixels);
  auto& slot = c.ByDescription[k];
  slot = std::move(m);
  c.LastKey = k;
  c.Last = slot.get();
  return *slot;
}

namespace {

bool MeasuredByAdvance(unsigned ch) { return ch >= 0x20 && (ch < 0xD800 || ch > 0xDFFF); }

}  // namespace

int HtmlCharAdvance(const THtmlFontMetrics& Metrics, unsigned Ch) {
  if (Ch < 0x250) return Ch >= 0x20 ? Metrics.Latin[Ch] : -1;
  const short* page = Metrics.Pages[(Ch >> 8) & 0xFF].get();
  return page && MeasuredByAdvance(Ch) ? page[Ch & 0xFF] : -1;
}

int HtmlCachedTextWidth(const THtmlFontMetrics& Metrics, const WideChar* Text, size_t Length) {
  int width = 0;
  for (size_t i = 0; i < Length; ++i) {
    const int advance = HtmlCharAdvance(Metrics, Text[i]);
    if (advance < 0) return -1;
    width += advance;
  }
  return Length ? width + Metrics.Overhang : 0;
}

bool HtmlLoadTextWidths(HDC DC, THtmlFontMetrics& Metrics, const WideChar* Text, size_t Length) {
  for (size_t i = 0; i < Length; ++i) {
    unsigned ch = Text[i];
    if (!MeasuredByAdvance(ch)) return false;
    if (ch < 0x250) continue;
    auto& page = Metrics.Pages[ch >> 8];
    if (page) continue;
    INT widths[256];
    const UINT first = ch & ~0xFFu;
    if (!GetCharWidth32W(DC, first, first + 255, widths)) return false;
    page = std::make_unique<short[]>(256);
    for (int k = 0; k < 256; ++k) page[k] = static_cast<short>(widths[k]);
  }
  return true;
}
