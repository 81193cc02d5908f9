// Replacing the text of a list box item, as a language change does: the item keeps its
// place, its data, and the selection stays where it was. A list box without a window
// keeps its items and selection as the window would.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "vcl/stdctrls.h"

using namespace testwin;

namespace {

TEST(ListBoxItems, ReplacingAnItemsTextKeepsTheSelectionAndTheItemsData) {
  std::unique_ptr<THostWindow> host(ShownHost(320, 240));
  auto* list = new TListBox(host.get());
  list->SetParent(host.get());
  TObject marker;
  for (const char* text : {"one", "two", "three"}) list->Items()->Add(text);
  list->Items()->SetObjects(1, &marker);
  list->SetItemIndex(1);
  for (int i = 0; i < 3; ++i) list->Items()->Put(i, "item " + std::to_string(i));
  EXPECT_EQ(list->ItemIndex(), 1);
  EXPECT_EQ(list->Items()->Strings(1), "item 1");
  EXPECT_EQ(list->Items()->Objects(1), &marker);
  EXPECT_EQ(list->Count(), 3);

  // Nothing selected stays nothing selected.
  list->SetItemIndex(-1);
  list->Items()->Put(0, "first");
  EXPECT_EQ(list->ItemIndex(), -1);
}

// What a user and the program read of a list box.
struct TListState {
  std::vector<AnsiString> Items;
  std::vector<TObject*> Objects;
  int ItemIndex;
  int Found;  // IndexOf ignores case
  bool operator==(const TListState&) const = default;
};

void PrintTo(const TListState& s, std::ostream* os) {
  *os << "items";
  for (size_t i = 0; i < s.Items.size(); ++i) *os << " '" << s.Items[i] << "'" << (s.Objects[i] ? "*" : "");
  *os << ", index " << s.ItemIndex << ", found " << s.Found;
}

TListState StateOf(TListBox* List) {
  TListState s{{}, {}, List->ItemIndex(), List->Items()->IndexOf("PLAIN")};
  for (int i = 0; i < List->Items()->Count(); ++i) {
    s.Items.push_back(List->Items()->Strings(i));
    s.Objects.push_back(List->Items()->Objects(i));
  }
  return s;
}

// A list box on a parent not shown yet (a hidden page, or a list the program shows later)
// has no window: it keeps its items and selection itself, exactly as a list box with a
// window holds them after the same steps, and its window, once it shows, takes them over.
TEST(ListBoxItems, WithoutAWindowTheyAreKeptAsTheWindowWouldHoldThemAndHandedOver) {
  static TObject marker;
  using TSteps = void (*)(TListBox*);
  const std::pair<const char*, TSteps> scripts[] = {
      {"added, one selected, replaced",
       [](TListBox* l) {
         l->Items()->Add("one");
         l->Items()->AddObject("two", &marker);
         l->Items()->Add("plain");
         l->SetItemIndex(1);
         l->Items()->Put(1, "second");
       }},
      {"inserted before the selection",
       [](TListBox* l) {
         l->Items()->Add("one");
         l->Items()->Add("two");
         l->SetItemIndex(1);
         l->Items()->Insert(0, "zero");
         l->Items()->Insert(-1, "Plain");
       }},
      {"deleted before and at the selection",
       [](TListBox* l) {
         for (const char* text : {"one", "two", "three"}) l->Items()->Add(text);
         l->SetItemIndex(2);
         l->Items()->Delete(0);
         l->Items()->Delete(1);
         l->Items()->Delete(7);
       }},
      {"an index past the items, then cleared",
       [](TListBox* l) {
         l->Items()->Add("one");
         l->SetItemIndex(0);
         l->SetItemIndex(5);
         l->Items()->Add("plain");
         l->SetItemIndex(1);
         l->Items()->Clear();
         l->Items()->Add("plain");
       }},
  };
  for (const auto& [name, steps] : scripts) {
    SCOPED_TRACE(name);
    std::unique_ptr<THostWindow> shown(ShownHost(300, 160));
    auto* withWindow = new TListBox(shown.get());
    withWindow->SetParent(shown.get());
    ASSERT_TRUE(withWindow->HandleAllocated());
    steps(withWindow);
    const TListState expected = StateOf(withWindow);

    std::unique_ptr<THostWindow> hidden(new THostWindow(nullptr));
    hidden->SetBounds(40, 220, 300, 160);
    auto* waiting = new TListBox(hidden.get());
    waiting->SetParent(hidden.get());
    steps(waiting);
    EXPECT_EQ(StateOf(waiting), expected);
    EXPECT_FALSE(waiting->HandleAllocated()) << "asking made a window";

    hidden->SetVisible(true);
    Flush();
    ASSERT_TRUE(waiting->HandleAllocated());
    EXPECT_EQ(StateOf(waiting), expected);
  }
}

}  // namespace
