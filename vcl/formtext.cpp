#include "vcl/formtext.h"

#include <cerrno>
#include <cstdlib>

namespace {

enum TTokenKind { toEOF, toSymbol, toString, toInteger, toFloat, toBinary, toChar };

// Splits a description text into tokens; strings are decoded from UTF-8 into UTF-16.
class TFormTextParser {
 public:
  TFormTextParser(const AnsiString& text, const AnsiString& source) : FText(text), FSource(source) {
    if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FPos = 3;
    NextToken();
  }

  TTokenKind Kind() const { return FKind; }
  char Char() const { return FKind == toChar ? FChar : '\0'; }
  const AnsiString& Symbol() const { return FSymbol; }
  const WideString& String() const { return FString; }
  int64_t Integer() const { return FInteger; }
  double Float() const { return FFloat; }
  const std::vector<uint8_t>& Binary() const { return FBinary; }
  bool IsSymbol(const char* word) const { return FKind == toSymbol && SameIdent(FSymbol, word); }
  bool IsChar(char c) const { return FKind == toChar && FChar == c; }

  [[noreturn]] void Error(const AnsiString& what) const {
    throw EParserError(Format("Error reading %s(%d): %s", FSource.c_str(), FTokenLine, what.c_str()));
  }

  void NextToken() {
    SkipBlanks();
    FTokenLine = FLine;
    if (FPos >= FText.size()) {
      FKind = toEOF;
      return;
    }
    char c = FText[FPos];
    if (IsIdentStart(c)) {
      size_t start = FPos;
      while (FPos < FText.size() && IsIdentChar(FText[FPos])) ++FPos;
      FKind = toSymbol;
      FSymbol = FText.substr(start, FPos - start);
    } else if (c == '\'' || c == '#') {
      ReadString();
    } else if (IsDigit(c) || c == '$' || (c == '-' && FPos + 1 < FText.size() &&
                                          (IsDigit(FText[FPos + 1]) || FText[FPos + 1] == '$'))) {
      ReadNumber();
    } else if (c == '{') {
      ReadBinary();
    } else if (static_cast<unsigned char>(c) < 128 && c > ' ') {
      FKind = toChar;
      FChar = c;
      ++FPos;
    } else {
      Error(Format("Invalid character $%02X", static_cast<unsigned char>(c)));
    }
  }

  AnsiString Describe() const {
    switch (FKind) {
      case toEOF: return "end of text";
      case toSymbol: return FSymbol;
      case toChar: return AnsiString(1, FChar);
      case toString: return "a string";
      case toBinary: return "binary data";
      default: return "a number";
    }
  }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
  static bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
  static bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }
  static int HexValue(char c) {
    return IsDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : c - 'A' + 10;
  }

  void SkipBlanks() {
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\n')
        ++FLine;
      else if (c != ' ' && c != '\t' && c != '\r')
        break;
      ++FPos;
    }
  }

  void AppendCodePoint(uint32_t cp) {
    if (cp > 0x10FFFF) Error("Invalid character code");
    if (cp >= 0x10000) {
      cp -= 0x10000;
      FString += static_cast<wchar_t>(0xD800 + (cp >> 10));
      FString += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
    } else {
      FString += static_cast<wchar_t>(cp);
    }
  }

  // One UTF-8 sequence inside a quoted string.
  uint32_t DecodeUtf8() {
    auto byte = [this](size_t i) { return static_cast<unsigned char>(FText[i]); };
    unsigned char b = byte(FPos);
    int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || FPos + extra >= FText.size()) Error("Invalid UTF-8 text");
    uint32_t cp = extra == 0 ? b : b & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
      unsigned char cont = byte(FPos + i);
      if ((cont & 0xC0) != 0x80) Error("Invalid UTF-8 text");
      cp = (cp << 6) | (cont & 0x3F);
    }
    static const uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) Error("Invalid UTF-8 text");
    FPos += static_cast<size_t>(extra) + 1;
    return cp;
  }

  void ReadString() {
    FKind = toString;
    FString.clear();
    for (;;) {
      if (FPos >= FText.size()) break;
      char c = FText[FPos];
      if (c == '\'') {
        ++FPos;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r') Error("Unterminated string");
          if (FText[FPos] == '\'') {
            if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
              FString += L'\'';
              FPos += 2;
              continue;
            }
            ++FPos;
            break;
          }
          AppendCodePoint(DecodeUtf8());
        }
      } else if (c == '#') {
        ++FPos;
        uint32_t cp = 0;
        bool hex = FPos < FText.size() && FText[FPos] == '$';
        if (hex) ++FPos;
        size_t start = FPos;
        while (FPos < FText.size() && (hex ? IsHex(FText[FPos]) : IsDigit(FText[FPos]))) {
          cp = cp * (hex ? 16 : 10) + static_cast<uint32_t>(HexValue(FText[FPos]));
          if (cp > 0x10FFFF) Error("Invalid character code");
          ++FPos;
        }
        if (FPos == start) Error("Character code expected");
        AppendCodePoint(cp);
      } else {
        break;
      }
    }
  }

  void ReadNumber() {
    size_t start = FPos;
    bool negative = FText[FPos] == '-';
    if (negative) ++FPos;
    if (FText[FPos] == '$') {
      ++FPos;
      size_t digits = FPos;
      uint64_t v = 0;
      while (FPos < FText.size() && IsHex(FText[FPos])) {
        if (FPos - digits >= 16) Error("Number too large");
        v = v * 16 + static_cast<uint64_t>(HexValue(FText[FPos++]));
      }
      if (FPos == digits) Error("Hexadecimal digits expected");
      // Eight hex digits are a 32-bit value, as colours are written ($FF00000F is negative).
      int64_t value = FPos - digits <= 8 ? static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(v)))
                                          : static_cast<int64_t>(v);
      FKind = toInteger;
      FInteger = negative ? -value : value;
    } else {
      while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
      bool isFloat = false;
      if (FPos + 1 < FText.size() && FText[FPos] == '.' && IsDigit(FText[FPos + 1])) {
        isFloat = true;
        ++FPos;
        while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
      }
      if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
        isFloat = true;
        ++FPos;
        if (FPos < FText.size() && (FText[FPos] == '+' || FText[FPos] == '-')) ++FPos;
        if (FPos >= FText.size() || !IsDigit(FText[FPos])) Error("Invalid number");
        while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
      }
      AnsiString number = FText.substr(start, FPos - start);
      if (isFloat) {
        FKind = toFloat;
        FFloat = std::strtod(number.c_str(), nullptr);
      } else {
        errno = 0;
        FInteger = std::strtoll(number.c_str(), nullptr, 10);
        if (errno == ERANGE) Error("Number too large");
        FKind = toInteger;
      }
    }
    if (FPos < FText.size() && IsIdentChar(FText[FPos])) Error("Invalid number");
  }

  void ReadBinary() {
    ++FPos;  // {
    FKind = toBinary;
    FBinary.clear();
    int pending = -1;
    for (;;) {
      SkipBlanks();
      if (FPos >= FText.size()) Error("Unterminated binary data");
      char c = FText[FPos++];
      if (c == '}') break;
      if (!IsHex(c)) Error("Invalid binary data");
      if (pending < 0) {
        pending = HexValue(c);
      } else {
        FBinary.push_back(static_cast<uint8_t>(pending * 16 + HexValue(c)));
        pending = -1;
      }
    }
    if (pending >= 0) Error("Invalid binary data");
  }

  const AnsiString& FText;
  AnsiString FSource;
  size_t FPos = 0;
  int FLine = 1;
  int FTokenLine = 1;
  TTokenKind FKind = toEOF;
  char FChar = '\0';
  AnsiString FSymbol;
  WideString FString;
  int64_t FInteger = 0;
  double FFloat = 0;
  std::vector<uint8_t> FBinary;
};

// Writes the binary form of what the parser reads.
class TFormTextConverter {
 public:
  TFormTextConverter(const AnsiString& text, TStream* output, const AnsiString& source)
      : FParser(text, source), FWriter(output) {}

  void Convert() {
    FWriter.WriteSignature();
    ConvertObject();
    if (FParser.Kind() != toEOF) FParser.Error("End of text expected after the last end");
    FWriter.FlushBuffer();
  }

 private:
  AnsiString ExpectSymbol() {
    if (FParser.Kind() != toSymbol) FParser.Error(Format("Identifier expected but %s found", FParser.Describe().c_str()));
    AnsiString s = FParser.Symbol();
    FParser.NextToken();
    return s;
  }

  void ExpectChar(char c) {
    if (!FParser.IsChar(c)) FParser.Error(Format("'%c' expected but %s found", c, FParser.Describe().c_str()));
    FParser.NextToken();
  }

  bool AtObject() const { return FParser.IsSymbol("object") || FParser.IsSymbol("inherited"); }

  // Objects, lists and collections nest by recursion; a text nested past any real form's
  // depth is refused before it runs the stack out.
  class TNesting {
   public:
    explicit TNesting(TFormTextConverter& converter) : FConverter(converter) {
      if (++FConverter.FDepth > kMaxDepth) FConverter.FParser.Error("Description nested too deeply");
    }
    ~TNesting() { --FConverter.FDepth; }
    TNesting(const TNesting&) = delete;
    TNesting& operator=(const TNesting&) = delete;

   private:
    TFormTextConverter& FConverter;
  };
  static constexpr int kMaxDepth = 256;

  void ConvertObject() {
    TNesting nesting(*this);
    unsigned flags = 0;
    if (FParser.IsSymbol("inherited"))
      flags = ffInherited;
    else if (!FParser.IsSymbol("object"))
      FParser.Error(Format("'object' expected but %s found", FParser.Describe().c_str()));
    FParser.NextToken();
    AnsiString name;
    AnsiString className = ExpectSymbol();
    if (FParser.IsChar(':')) {
      FParser.NextToken();
      name = className;
      className = ExpectSymbol();
    }
    FWriter.WritePrefix(flags, 0);
    FWriter.WriteStr(className);
    FWriter.WriteStr(name);
    while (!FParser.IsSymbol("end") && !AtObject()) ConvertProperty();
    FWriter.WriteListEnd();
    while (!FParser.IsSymbol("end")) ConvertObject();
    FWriter.WriteListEnd();
    FParser.NextToken();
  }

  void ConvertProperty() {
    if (FParser.Kind() == toEOF) FParser.Error("'end' expected but end of text found");
    AnsiString name = ExpectSymbol();
    while (FParser.IsChar('.')) {
      FParser.NextToken();
      name += "." + ExpectSymbol();
    }
    ExpectChar('=');
    FWriter.WriteStr(name);
    ConvertValue();
  }

  void ConvertValue() {
    TNesting nesting(*this);
    switch (FParser.Kind()) {
      case toString: {
        WideString s = FParser.String();
        FParser.NextToken();
        while (FParser.IsChar('+')) {
          FParser.NextToken();
          if (FParser.Kind() != toString) FParser.Error(Format("String expected but %s found", FParser.Describe().c_str()));
          s += FParser.String();
          FParser.NextToken();
        }
        FWriter.WriteWideString(s);  // 8-bit when plain ASCII, else wide
        return;
      }
      case toInteger:
        FWriter.WriteInteger(FParser.Integer());
        FParser.NextToken();
        return;
      case toFloat:
        FWriter.WriteFloat(FParser.Float());
        FParser.NextToken();
        return;
      case toBinary: {
        const auto& data = FParser.Binary();
        FWriter.WriteValue(vaBinary);
        uint32_t size = static_cast<uint32_t>(data.size());
        FWriter.Write(&size, 4);
        FWriter.Write(data.data(), size);
        FParser.NextToken();
        return;
      }
      case toSymbol: {
        AnsiString ident = ExpectSymbol();
        while (FParser.IsChar('.')) {
          FParser.NextToken();
          ident += "." + ExpectSymbol();
        }
        if (SameIdent(ident, "True")) {
          FWriter.WriteValue(vaTrue);
        } else if (SameIdent(ident, "False")) {
          FWriter.WriteValue(vaFalse);
        } else if (SameIdent(ident, "nil")) {
          FWriter.WriteValue(vaNil);
        } else {
          FWriter.WriteValue(vaIdent);
          FWriter.WriteStr(ident);
        }
        return;
      }
      default:
        break;
    }
    if (FParser.IsChar('[')) {
      ConvertSet();
    } else if (FParser.IsChar('(')) {
      FParser.NextToken();
      FWriter.WriteListBegin();
      while (!FParser.IsChar(')')) {
        if (FParser.Kind() == toEOF) FParser.Error("')' expected but end of text found");
        ConvertValue();
      }
      FParser.NextToken();
      FWriter.WriteListEnd();
    } else if (FParser.IsChar('<')) {
      ConvertCollection();
    } else {
      FParser.Error(Format("Value expected but %s found", FParser.Describe().c_str()));
    }
  }

  void ConvertSet() {
    FParser.NextToken();
    FWriter.WriteValue(vaSet);
    if (!FParser.IsChar(']')) {
      for (;;) {
        FWriter.WriteStr(ExpectSymbol());
        if (FParser.IsChar(']')) break;
        ExpectChar(',');
      }
    }
    FParser.NextToken();
    FWriter.WriteStr(AnsiString());
  }

  void ConvertCollection() {
    FParser.NextToken();
    FWriter.WriteValue(vaCollection);
    while (!FParser.IsChar('>')) {
      if (!FParser.IsSymbol("item")) FParser.Error(Format("'item' expected but %s found", FParser.Describe().c_str()));
      FParser.NextToken();
      FWriter.WriteListBegin();
      while (!FParser.IsSymbol("end")) ConvertProperty();
      FParser.NextToken();
      FWriter.WriteListEnd();
    }
    FParser.NextToken();
    FWriter.WriteListEnd();
  }

  TFormTextParser FParser;
  TWriter FWriter;
  int FDepth = 0;
};

}  // namespace

void ObjectTextToBinary(const AnsiString& text, TStream* output, const AnsiString& sourceName) {
  TFormTextConverter(text, output, sourceName).Convert();
}

void ObjectTextToBinary(TStream* input, TStream* output, const AnsiString& sourceName) {
  AnsiString text(static_cast<size_t>(input->Size() - input->Position()), '\0');
  input->ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
  ObjectTextToBinary(text, output, sourceName);
}
