#include "widetext/widebuf.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <new>

namespace {
constexpr size_t kHeaderSize = 4;  // the block size, in bytes
}

WideChar* WideBufAlloc(size_t Size) {
  const size_t bytes = Size * sizeof(WideChar) + kHeaderSize;
  auto* block = static_cast<unsigned char*>(std::malloc(bytes));
  if (!block) throw std::bad_alloc();
  const auto header = static_cast<uint32_t>(bytes);
  std::memcpy(block, &header, kHeaderSize);
  return reinterpret_cast<WideChar*>(block + kHeaderSize);
}

void WideBufDispose(WideChar* Str) {
  if (Str) std::free(reinterpret_cast<unsigned char*>(Str) - kHeaderSize);
}

WideChar* WideBufNew(const WideChar* Str) {
  if (!Str) return nullptr;
  const size_t n = std::wcslen(Str);
  return WideBufMove(WideBufAlloc(n + 1), Str, n + 1);
}

WideChar* WideBufMove(WideChar* Dest, const WideChar* Source, size_t Count) {
  std::wmemmove(Dest, Source, Count);
  return Dest;
}

size_t WideBufLen(const WideChar* Str) { return std::wcslen(Str); }

WideChar* WideBufEnd(WideChar* Str) { return Str + std::wcslen(Str); }
const WideChar* WideBufEnd(const WideChar* Str) { return Str + std::wcslen(Str); }

WideChar* WideBufLCopy(WideChar* Dest, const WideChar* Source, size_t MaxLen) {
  size_t i = 0;
  for (; i < MaxLen && Source[i]; ++i) Dest[i] = Source[i];
  Dest[i] = L'\0';
  return Dest;
}

WideChar* WideBufCopyString(WideChar* Dest, const WideString& Source) {
  return WideBufLCopy(Dest, Source.c_str(), Source.size());
}

WideChar* WideBufCopyStringMax(WideChar* Dest, const WideString& Source, size_t MaxLen) {
  return WideBufLCopy(Dest, Source.c_str(), MaxLen < Source.size() ? MaxLen : Source.size());
}

const WideChar* WideBufScan(const WideChar* Str, WideChar Chr) {
  for (;; ++Str) {
    if (*Str == Chr) return Str;
    if (*Str == L'\0') return nullptr;
  }
}

WideChar* WideBufScan(WideChar* Str, WideChar Chr) {
  return const_cast<WideChar*>(WideBufScan(static_cast<const WideChar*>(Str), Chr));
}

const WideChar* WideBufLastChar(const WideString& S) { return S.empty() ? nullptr : S.data() + S.size() - 1; }

WideString WideBufToString(const WideChar* Str) { return Str ? WideString(Str) : WideString(); }
