// Damaged and hostile stored descriptions: every one ends in the framework's read error, fast,
// without a crash, a stack overflow or an allocation the stream cannot back.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <random>
#include <string>

#include "stream_components.h"
#include "vcl/formtext.h"
#include "vcl/streaming.h"

namespace {

const char* const kForm = R"(object TestRoot: TTestRoot
  Tag = 7
  object Widget1: TTestWidget
    Caption = 'It''s plain'
    Title = 'Caf'#233' '#$2013' Ελληνικά'
    Mark = 'Ω'
    Count = 300
    Size64 = 1099511627776
    Visible = False
    Align = taClient
    Anchors = [akLeft, akRight]
    Ratio = 1.5
    Font.Name = 'Tahoma'
    Font.Style = [fsBold, fsUnderline]
    Lines.Strings = (
      'first'
      'second')
    Columns = <
      item
        Caption = 'Name'
        Width = 120
      end>
    Buddy = Panel1
    OnClick = WidgetClick
    Extra = (
      1
      70000)
    Blob = {
      DEADBEEF}
  end
  object Panel1: TTestPanel
    Caption = 'panel'
    object Widget2: TTestWidget
      Buddy = TestRoot
    end
  end
end
)";

std::string ToBinary(const std::string& text) {
  TMemoryStream out;
  ObjectTextToBinary(text, &out, "hostile.dfm");
  return std::string(static_cast<const char*>(out.Memory()), static_cast<size_t>(out.Size()));
}

void ReadBinary(const std::string& bytes) {
  TMemoryStream in;
  in.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  in.SetPosition(0);
  TTestRoot root(nullptr);
  ReadComponent(&in, &root, "hostile.dfm");
}

void ReadTextForm(const std::string& text) {
  TTestRoot root(nullptr);
  ReadComponentData(text.data(), text.size(), &root, "hostile.dfm");
}

// Reads a description and says what came of it: "" when it was read, "read error" for the
// framework's read errors (a class that is not registered is one of them), else what escaped.
template <class Read>
std::string Outcome(Read read) {
  try {
    read();
    return "";
  } catch (const EReadError&) {
    return "read error";
  } catch (const EClassNotFound&) {
    return "read error";
  } catch (const Exception& e) {
    return "other error: " + e.Message;
  } catch (const std::exception& e) {
    return std::string("escaped: ") + e.what();
  }
}

// The largest single allocation asked of operator new since the last reset: a reader that
// believes a claimed length shows here, whether or not the system then grants the memory.
std::atomic<size_t> gLargestAllocation{0};

size_t LargestAllocationSince(const std::function<void()>& Work) {
  gLargestAllocation = 0;
  Work();
  return gLargestAllocation;
}

std::string Le32(uint32_t v) {
  return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                     static_cast<char>(v >> 24)};
}

// A root holding one widget with one stored value: header, the widget's name, the value, ends.
std::string OneValueForm(const std::string& property, const std::string& value) {
  std::string s = "TPF0";
  s += "\x09TTestRoot";
  s += '\0';  // no name
  s += '\0';  // end of the root's values
  s += "\x0bTTestWidget";
  s += "\x01W";
  s += static_cast<char>(property.size()) + property + value;
  s += std::string(3, '\0');  // end of the widget's values, of its children, of the root's children
  return s;
}

class HostileForms : public ::testing::Test {
 protected:
  void SetUp() override { RegisterTestClasses(); }
};

}  // namespace

void* operator new(size_t Size) {
  size_t largest = gLargestAllocation.load(std::memory_order_relaxed);
  while (Size > largest && !gLargestAllocation.compare_exchange_weak(largest, Size, std::memory_order_relaxed)) {
  }
  if (void* p = std::malloc(Size ? Size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, size_t) noexcept { std::free(P); }

TEST_F(HostileForms, ClaimedLengthsBeyondTheStreamFailBeforeAnythingIsAllocated) {
  const auto started = std::chrono::steady_clock::now();
  struct Kind {
    const char* property;
    char marker;  // vaLString, vaWString, vaBinary
  };
  const Kind kinds[] = {{"Caption", '\x0C'}, {"Title", '\x12'}, {"Blob", '\x0A'}};
  for (uint32_t length : {0xFFFFFFFFu, 0x40000000u, 0x6E696604u, 1000u}) {
    for (const Kind& k : kinds) {
      SCOPED_TRACE(std::string(k.property) + " claiming " + std::to_string(length));
      std::string outcome;
      EXPECT_LT(LargestAllocationSince([&] {
                  outcome = Outcome([&] { ReadBinary(OneValueForm(k.property, k.marker + Le32(length) + "abcd")); });
                }),
                size_t{1} << 20);
      EXPECT_EQ(outcome, "read error");
    }
  }
  // The same value with its length told right is read.
  EXPECT_EQ(Outcome([&] { ReadBinary(OneValueForm("Caption", "\x0C" + Le32(4) + "abcd")); }), "");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2));
}

TEST_F(HostileForms, NestingFarBeyondAnyRealFormIsARefusalNotAStackOverflow) {
  const int depth = 20000;
  struct Case {
    const char* what;
    std::string text;
  };
  std::string objects, lists = "object Root: TTestRoot\n object W: TTestWidget\n  Extra = ";
  for (int i = 0; i < depth; ++i) objects += "object O" + std::to_string(i) + ": TTestPanel\n";
  for (int i = 0; i < depth; ++i) objects += "end\n";
  lists += std::string(depth, '(') + std::string(depth, ')') + "\n end\nend\n";
  std::string collections = "object Root: TTestRoot\n object W: TTestWidget\n";
  for (int i = 0; i < depth / 4; ++i) collections += "  Columns = <item\n";
  for (int i = 0; i < depth / 4; ++i) collections += "  end>\n";
  collections += " end\nend\n";
  for (const Case& c : {Case{"objects", objects}, Case{"lists", lists}, Case{"collections", collections}}) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Outcome([&] { ReadTextForm(c.text); }), "read error");
  }

  // The binary form read directly: objects nested 20,000 deep.
  std::string binary = "TPF0";
  for (int i = 0; i < depth; ++i) binary += std::string("\x0aTTestPanel") + '\0' + '\0';
  binary += std::string(2 * depth, '\0');
  EXPECT_EQ(Outcome([&] { ReadBinary(binary); }), "read error");

  // A real form's depth is read.
  std::string nested = "object Root: TTestRoot\n";
  for (int i = 0; i < 40; ++i) nested += "object O" + std::to_string(i) + ": TTestPanel\n";
  for (int i = 0; i <= 40; ++i) nested += "end\n";
  EXPECT_EQ(Outcome([&] { ReadTextForm(nested); }), "");
}

// Thousands of damaged copies of one good form, in both stored shapes: flipped, dropped,
// inserted and repeated bytes, and lengths made huge.
TEST_F(HostileForms, MutatedFormsAreReadOrRefusedWithTheReadError) {
  const std::string text = kForm;
  const std::string binary = ToBinary(text);
  ASSERT_EQ(Outcome([&] { ReadBinary(binary); }), "");
  ASSERT_EQ(Outcome([&] { ReadTextForm(text); }), "");

  std::mt19937 random(20261211);
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  const char interesting[] = {'\0', '\x01', '\x0A', '\x0C', '\x0E', '\x12', '\x7F', '\xFF',
                              '(', ')', '<', '>', '\'', '#', '{', '}', '=', '.', '\n', 'e'};
  auto mutate = [&](std::string s) {
    for (size_t n = 1 + pick(4); n > 0 && !s.empty(); --n) {
      const size_t at = pick(s.size());
      switch (pick(6)) {
        case 0: s[at] = static_cast<char>(s[at] ^ (1 << pick(8))); break;
        case 1: s[at] = interesting[pick(sizeof interesting)]; break;
        case 2: s.erase(at, 1 + pick(8)); break;
        case 3: s.insert(at, 1, interesting[pick(sizeof interesting)]); break;
        case 4: s.insert(at, s.substr(at, 1 + pick(16))); break;
        default: s.replace(at, std::min<size_t>(4, s.size() - at), "\xFF\xFF\xFF\x7F"); break;
      }
    }
    return s;
  };

  const auto started = std::chrono::steady_clock::now();
  int read = 0, refused = 0;
  gLargestAllocation = 0;
  for (int i = 0; i < 3000; ++i) {
    for (bool asText : {false, true}) {
      const std::string damaged = mutate(asText ? text : binary);
      const std::string outcome = Outcome([&] { asText ? ReadTextForm(damaged) : ReadBinary(damaged); });
      if (outcome.empty())
        ++read;
      else if (outcome == "read error")
        ++refused;
      else
        ADD_FAILURE() << (asText ? "text" : "binary") << " mutation " << i << ": " << outcome;
    }
  }
  EXPECT_GT(refused, 1000);  // the mutations did reach the reader's checks
  EXPECT_GT(read, 0);
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_LT(gLargestAllocation.load(), size_t{16} << 20);
}
