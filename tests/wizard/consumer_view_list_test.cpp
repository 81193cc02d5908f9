// The consumer's flat view of an item tree: building it to a depth, hidden items, toggling,
// following additions and deletions, navigation and connector lines.
#include <gtest/gtest.h>

#include "data_provider_fixture.h"

namespace {

// The component holding the consumer: it shows a flat list.
class TViewHost : public TComponent, public IKvDataServiceSource {
 public:
  TViewHost() : TComponent(nullptr) {}
  void GetServiceClasses(std::vector<const TMetaClass*>& Classes) override {
    Classes.insert(Classes.end(), Extra.begin(), Extra.end());
  }
  bool NeedsViewList() override { return true; }
  std::vector<const TMetaClass*> Extra;
};

// Hides its item from every view.
class THiddenMark : public TKvDataItemAggregatedObject, public IKvDataItemShowState {
  VCL_CLASS(THiddenMark)
 public:
  using TKvDataItemAggregatedObject::TKvDataItemAggregatedObject;
  KV_FORWARD_AGGREGATED_IUNKNOWN(TKvDataItemAggregatedObject)
  bool GetOwnInterface(REFIID iid, void** obj) override {
    if (iid != __uuidof(IKvDataItemShowState)) return false;
    *obj = static_cast<IKvDataItemShowState*>(this);
    return true;
  }
  int STDMETHODCALLTYPE ShowState() override { return 0; }
};
VCL_CLASS_IMPL(THiddenMark, TKvDataItemAggregatedObject, nullptr, nullptr)

// root: A (A1, A2 (A2a)), B, C (an empty child list)
class ViewListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    IKvDataItems* root = provider.Items();
    a = AddItem(root, "A");
    a1 = AddItem(ChildList(a), "A1");
    a2 = AddItem(ChildList(a), "A2");
    a2a = AddItem(ChildList(a2), "A2a");
    b = AddItem(root, "B");
    c = AddItem(root, "C");
    ChildList(c);
  }

  TKvDataConsumerViewList* Attach(int AutoExpandLevel) {
    consumer.SetProvider(&provider);
    view = consumer.FindService<TKvDataConsumerViewList>();
    view->SetAutoExpandLevel(AutoExpandLevel);
    view->RebuildView();
    return view;
  }

  // Each row as "caption level" plus E (expanded), S (has a child list), C (children).
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 0; i < view->Count(); ++i) {
      std::string row = CaptionOf(view->ItemAt(i)) + " " + std::to_string(view->ItemLevel(i));
      uint32_t flags = view->Rows()[static_cast<size_t>(i)].Flags;
      if (flags & kvrExpanded) row += " E";
      if (flags & kvrHasSubItems) row += " S";
      if (flags & kvrHasChildren) row += " C";
      rows.push_back(row);
    }
    return rows;
  }

  IKvDataItemsManagement* Manage(IKvDataItems* List) { return KvQuery<IKvDataItemsManagement>(List); }

  TTestProvider provider;
  TViewHost host;
  TKvDataConsumer consumer{&host};
  TKvDataConsumerViewList* view = nullptr;
  IKvDataItem *a, *a1, *a2, *a2a, *b, *c;
};

using RowList = std::vector<std::string>;

TEST_F(ViewListTest, TheViewIsBuiltToTheAutoExpandDepth) {
  Attach(0);
  EXPECT_EQ(Rows(), (RowList{"A 0 S C", "B 0", "C 0 S"}));
  Attach(1);
  EXPECT_EQ(Rows(), (RowList{"A 0 E S C", "A1 1", "A2 1 S C", "B 0", "C 0 S"}));
  Attach(-1);
  EXPECT_EQ(Rows(), (RowList{"A 0 E S C", "A1 1", "A2 1 E S C", "A2a 2", "B 0", "C 0 S"}));

  TKvDataConsumer bare(nullptr);
  auto* lonely = KvCreate<TKvDataConsumerViewList>(&bare);
  lonely->RebuildView();
  EXPECT_EQ(lonely->Count(), 0);
}

TEST_F(ViewListTest, HiddenItemsLeaveNoGap) {
  KvCreate<THiddenMark>(static_cast<TKvBaseDataItem*>(a1->GetImplementer()));
  KvCreate<THiddenMark>(static_cast<TKvBaseDataItem*>(b->GetImplementer()));
  Attach(-1);
  EXPECT_EQ(Rows(), (RowList{"A 0 E S C", "A2 1 E S C", "A2a 2", "C 0 S"}));
}

TEST_F(ViewListTest, TogglingTwiceRestoresTheRows) {
  Attach(0);
  RowList before = Rows();
  view->ToggleItem(0);
  EXPECT_EQ(Rows(), (RowList{"A 0 E S C", "A1 1", "A2 1 S C", "B 0", "C 0 S"}));
  view->ToggleItem(0);
  EXPECT_EQ(Rows(), before);
  view->ToggleItem(view->IndexOfItem(c));  // an empty child list: nothing to open
  EXPECT_EQ(Rows(), before);
}

TEST_F(ViewListTest, DeletionsFollowTheProvider) {
  Attach(-1);
  Manage(KvSubItems(a2))->Delete(0);  // the only child of A2
  EXPECT_EQ(Rows(), (RowList{"A 0 E S C", "A1 1", "A2 1 S", "B 0", "C 0 S"}));
  Manage(KvSubItems(a))->Delete(0);  // one of two children of A
  EXPECT_EQ(Rows(), (RowList{"A 0 E S C", "A2 1 S", "B 0", "C 0 S"}));
  Manage(provider.Items())->Remove(a);
  EXPECT_EQ(Rows(), (RowList{"B 0", "C 0 S"}));
}

TEST_F(ViewListTest, AdditionsFollowTheProvider) {
  Attach(0);
  AddItem(KvSubItems(a), "A3");  // A is collapsed and the view does not open it
  EXPECT_EQ(Rows(), (RowList{"A 0 S C", "B 0", "C 0 S"}));
  AddItem(provider.Items(), "D");
  EXPECT_EQ(Rows(), (RowList{"A 0 S C", "B 0", "C 0 S", "D 0"}));

  view->SetExpandOnNewItem(true);
  AddItem(KvSubItems(c), "C1");
  EXPECT_EQ(Rows(), (RowList{"A 0 S C", "B 0", "C 0 E S C", "C1 1", "D 0"}));
  AddItem(KvSubItems(c), "C2");  // C is open: the row goes after C's shown children
  EXPECT_EQ(Rows(), (RowList{"A 0 S C", "B 0", "C 0 E S C", "C1 1", "C2 1", "D 0"}));
  AddItem(KvSubItems(a2), "A2b");  // A2 has no row yet: the tree is opened down to it
  EXPECT_EQ(Rows(), (RowList{"A 0 E S C", "A1 1", "A2 1 E S C", "A2a 2", "A2b 2", "A3 1", "B 0", "C 0 E S C",
                          "C1 1", "C2 1", "D 0"}));
}

TEST_F(ViewListTest, ExpandTreeToOpensEveryAncestor) {
  Attach(0);
  view->ExpandTreeTo(a2a);
  EXPECT_EQ(Rows(), (RowList{"A 0 E S C", "A1 1", "A2 1 E S C", "A2a 2", "B 0", "C 0 S"}));
  EXPECT_EQ(view->ItemParent(3), a2);
}

TEST_F(ViewListTest, Navigation) {
  Attach(-1);
  // Rows: 0 A, 1 A1, 2 A2, 3 A2a, 4 B, 5 C
  struct Case {
    int Row, Parent, Sibling, ChildIndex;
  };
  const Case cases[] = {{0, -1, 4, 0}, {1, 0, 2, 0}, {2, 0, -1, 1}, {3, 2, -1, 0}, {4, -1, 5, 1}, {5, -1, -1, 2}};
  for (const Case& k : cases) {
    EXPECT_EQ(view->ItemParentIndex(k.Row), k.Parent) << k.Row;
    EXPECT_EQ(view->ItemSiblingIndex(k.Row), k.Sibling) << k.Row;
    EXPECT_EQ(view->ChildIndexOfItem(view->ItemAt(k.Row)), k.ChildIndex) << k.Row;
  }
  EXPECT_EQ(view->SubItemIndex(0, 0), 1);
  EXPECT_EQ(view->SubItemIndex(0, 1), 2);
  EXPECT_EQ(view->SubItemIndex(0, 2), -1);
  EXPECT_EQ(view->SubItemIndex(4, 0), -1);
  EXPECT_EQ(view->SubItemOfItem(a2, 0), a2a);
  EXPECT_EQ(view->ItemSibling(0), b);
  EXPECT_EQ(view->ChildIndexOfID("missing"), -1);

  // IDs match without regard to case, the last matching row first.
  static_cast<TKvBaseDataItem*>(a1->GetImplementer())->SetID("dup");
  static_cast<TKvBaseDataItem*>(b->GetImplementer())->SetID("DUP");
  view->RebuildView();
  EXPECT_EQ(view->IndexOfID("Dup"), 4);
}

TEST_F(ViewListTest, LevelLinesMarkAncestorsWithLaterSiblings) {
  // A chain 34 levels deep under A, with a sibling after the level-32 ancestor.
  IKvDataItem* item = a2a;
  IKvDataItem* level32 = nullptr;
  for (int level = 3; level <= 33; ++level) {
    item = AddItem(ChildList(item), ("L" + std::to_string(level)).c_str());
    if (level == 32) level32 = item;
  }
  AddItem(level32->GetItems(), "late");
  Attach(-1);

  TKvLevelBits bits{7};
  view->LevelLines(0, bits);
  EXPECT_TRUE(bits.empty());

  int deepest = view->IndexOfItem(item);
  ASSERT_EQ(view->ItemLevel(deepest), 33);
  view->LevelLines(deepest, bits);
  ASSERT_EQ(bits.size(), 2u);
  // A (level 0) has B after it; A1's sibling A2 is the ancestor at level 1, which has none;
  // the level-32 ancestor has "late" after it.
  EXPECT_EQ(bits[0], 1u);
  EXPECT_EQ(bits[1], 1u);
}

TEST_F(ViewListTest, TheSelectedItemIsTheRootOfTheView) {
  host.Extra = {TKvDataConsumerItemSelect::StaticClass()};
  Attach(-1);
  consumer.FindService<TKvDataConsumerItemSelect>()->SetItem(a);
  EXPECT_EQ(Rows(), (RowList{"A1 0", "A2 0 E S C", "A2a 1"}));
}

TEST_F(ViewListTest, LevelIndentIsKeptWhenSetWithoutAProvider) {
  std::vector<TKvDataConsumerChangeReason> changes;
  consumer.OnChanged = [&](TObject*, TKvDataConsumerChangeReason r) { changes.push_back(r); };
  auto* lonely = KvCreate<TKvDataConsumerViewList>(&consumer);
  EXPECT_EQ(lonely->GetLevelIndent(), 16);
  lonely->SetLevelIndent(20);
  EXPECT_TRUE(lonely->Fixed());
  EXPECT_EQ(changes, (std::vector<TKvDataConsumerChangeReason>{ccrServiceChange}));
  consumer.SetProvider(&provider);  // a fixed service survives the provider change
  EXPECT_EQ(consumer.FindService<TKvDataConsumerViewList>(), lonely);
  EXPECT_EQ(lonely->Count(), 3);
  lonely->SetLevelIndent(24);
  EXPECT_FALSE(lonely->Fixed());
}

}  // namespace
