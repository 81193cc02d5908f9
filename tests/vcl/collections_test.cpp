// Collections: item lifetime and order, change notices, copying and name paths.
#include "vcl/collections.h"

#include <gtest/gtest.h>

#include "stream_components.h"

namespace {

class TNoteItem : public TCollectionItem {
  VCL_CLASS(TNoteItem)
 public:
  using TCollectionItem::TCollectionItem;
  AnsiString Text;
  void SetText(const AnsiString& t) {
    Text = t;
    Changed(false);
  }
  void Assign(TPersistent* source) override {
    if (auto* n = dynamic_cast<TNoteItem*>(source))
      Text = n->Text;
    else
      TCollectionItem::Assign(source);
  }
};
VCL_CLASS_IMPL(TNoteItem, TCollectionItem, nullptr, nullptr)

// Records the change notices.
class TNotes : public TCollection {
 public:
  TNotes() : TCollection(CollectionItemClassOf<TNoteItem>()) {}
  std::vector<TCollectionItem*> Updates;
  TNoteItem* Note(int i) const { return static_cast<TNoteItem*>(Items(i)); }

 protected:
  void Update(TCollectionItem* item) override { Updates.push_back(item); }
};

std::vector<AnsiString> Texts(const TNotes& notes) {
  std::vector<AnsiString> t;
  for (int i = 0; i < notes.Count(); ++i) t.push_back(notes.Note(i)->Text);
  return t;
}

}  // namespace

TEST(Collections, ItemsKeepTheirOrderIdsAndLeaveWhenFreed) {
  TNotes notes;
  for (const char* t : {"a", "b", "c"}) static_cast<TNoteItem*>(notes.Add())->Text = t;
  static_cast<TNoteItem*>(notes.Insert(1))->Text = "x";
  EXPECT_EQ(Texts(notes), (std::vector<AnsiString>{"a", "x", "b", "c"}));
  EXPECT_EQ(notes.Note(1)->ID(), 3);  // ids follow creation, not place
  EXPECT_EQ(notes.FindItemID(3), notes.Note(1));

  notes.Note(3)->SetIndex(0);
  EXPECT_EQ(Texts(notes), (std::vector<AnsiString>{"c", "a", "x", "b"}));
  EXPECT_EQ(notes.Note(2)->Index(), 2);

  delete notes.Note(1);  // an item freed directly leaves its collection
  notes.Delete(0);
  EXPECT_EQ(Texts(notes), (std::vector<AnsiString>{"x", "b"}));
  EXPECT_THROW(notes.Items(2), EListError);

  TNotes other;
  notes.Note(0)->SetCollection(&other);
  EXPECT_EQ(Texts(notes), (std::vector<AnsiString>{"b"}));
  EXPECT_EQ(Texts(other), (std::vector<AnsiString>{"x"}));
}

TEST(Collections, ChangesInsideAnUpdateAreToldOnceAtItsEnd) {
  TNotes notes;
  notes.Add();
  notes.Updates.clear();
  notes.Note(0)->SetText("one");
  ASSERT_EQ(notes.Updates.size(), 1u);
  EXPECT_EQ(notes.Updates[0], notes.Note(0));  // one item changed

  notes.Updates.clear();
  notes.BeginUpdate();
  notes.Add();
  notes.Note(0)->SetText("two");
  notes.Delete(1);
  EXPECT_TRUE(notes.Updates.empty());
  notes.EndUpdate();
  EXPECT_EQ(notes.Updates, (std::vector<TCollectionItem*>{nullptr}));  // everything changed
}

TEST(Collections, AssignCopiesTheItems) {
  TNotes from;
  for (const char* t : {"p", "q"}) static_cast<TNoteItem*>(from.Add())->Text = t;
  TNotes to;
  to.Add();
  to.Updates.clear();
  to.Assign(&from);
  EXPECT_EQ(Texts(to), Texts(from));
  EXPECT_NE(to.Note(0), from.Note(0));
  EXPECT_EQ(to.Updates.size(), 1u);
  EXPECT_THROW(to.Assign(nullptr), EConvertError);
}

TEST(Collections, NamePathsGoThroughTheOwnersProperty) {
  TTestWidget w(nullptr);
  w.SetName("Widget1");
  w.Columns.Add();
  w.Columns.Add();
  EXPECT_EQ(w.Columns.GetNamePath(), "Widget1.Columns");
  EXPECT_EQ(w.Columns.Items(1)->GetNamePath(), "Widget1.Columns[1]");
  TNotes loose;
  EXPECT_EQ(loose.GetNamePath(), "TCollection");
}
