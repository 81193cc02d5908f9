// Replacing the text of a list box item, as a language change does: the item keeps its
// place, its data, and the selection stays where it was.
#include <gtest/gtest.h>

#include <memory>

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

}  // namespace
