// The tree view: node lists with and without a window, the stored node records, lazy
// expansion, hit tests, label editing, sorting and re-creation.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "vcl/comctrls_common.h"
#include "vcl/streaming.h"
#include "vcl/treenodeinfo.h"
#include "vcl/treeview.h"

using namespace testwin;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes BytesOf(TMemoryStream& s) {
  const auto* p = static_cast<const uint8_t*>(s.Memory());
  return Bytes(p, p + s.Size());
}

struct TreeFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(320, 300)};
  TTreeView* tree = nullptr;
  void SetUp() override {
    tree = new TTreeView(host.get());
    tree->SetParent(host.get());
    tree->SetBounds(0, 0, 300, 280);
  }
  HWND Wnd() { return tree->Handle(); }
  // The texts the window shows, in display order of all items (expanded or not).
  std::vector<std::string> Shown(HTREEITEM parent = TVI_ROOT) {
    std::vector<std::string> out;
    UINT first = parent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(Wnd(), TVM_GETNEXTITEM, first, parent == TVI_ROOT ? 0 : reinterpret_cast<LPARAM>(parent)));
    for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageA(Wnd(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
      char text[256] = {};
      TVITEMA tv{};
      tv.mask = TVIF_TEXT | TVIF_HANDLE;
      tv.hItem = item;
      tv.pszText = text;
      tv.cchTextMax = sizeof text;
      SendMessageA(Wnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
      out.push_back(tv.pszText);
      for (auto& child : Shown(item)) out.push_back("  " + child);
    }
    return out;
  }
  std::vector<std::string> NodeTexts() {
    std::vector<std::string> out;
    for (TTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext())
      out.push_back(std::string(2 * n->Level(), ' ') + n->Text());
    return out;
  }
};

using Texts = std::vector<std::string>;

}  // namespace

TEST(NodeInfo, RecordsRoundTripAndLongTextsAreCut) {
  TMemoryStream s;
  TNodeInfo a;
  a.ImageIndex = 3;
  a.SelectedIndex = 4;
  a.StateIndex = -1;
  a.OverlayIndex = 2;
  a.Data = 0xDEADBEEF;
  a.Count = 7;
  a.Text = "abc";
  WriteNodeInfo(&s, a);
  TNodeInfo longer;
  longer.Text = std::string(300, 'x');
  WriteNodeInfo(&s, longer);
  Bytes bytes = BytesOf(s);
  ASSERT_EQ(bytes.size(), 4u + 25 + 3 + 4 + 25 + 255);
  EXPECT_EQ(bytes[0], 28);  // size of what follows
  EXPECT_EQ(bytes[28], 3);  // text length

  s.SetPosition(0);
  TNodeInfo b = ReadNodeInfo(&s);
  EXPECT_EQ(b.ImageIndex, 3);
  EXPECT_EQ(b.SelectedIndex, 4);
  EXPECT_EQ(b.StateIndex, -1);
  EXPECT_EQ(b.OverlayIndex, 2);
  EXPECT_EQ(b.Data, 0xDEADBEEFu);
  EXPECT_EQ(b.Count, 7);
  EXPECT_EQ(b.Text, "abc");
  EXPECT_EQ(ReadNodeInfo(&s).Text, std::string(255, 'x'));
}

TEST(NodeInfo, DamagedRecordsAreRefused) {
  auto record = [](uint32_t size, uint8_t length, int32_t children, size_t actual) {
    Bytes b(4 + actual, 0);
    for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(size >> (8 * i));
    if (actual >= 25) {
      for (int i = 0; i < 4; ++i) b[4 + 20 + i] = static_cast<uint8_t>(static_cast<uint32_t>(children) >> (8 * i));
      b[4 + 24] = length;
    }
    return b;
  };
  struct Case {
    const char* what;
    Bytes bytes;
  } cases[] = {
      {"size below a record", record(10, 0, 0, 10)},
      {"size above a record", record(400, 0, 0, 400)},
      {"text past the record", record(27, 5, 0, 27)},
      {"negative children", record(25, 0, -1, 25)},
      {"stream ends early", record(40, 15, 0, 20)},
  };
  for (auto& c : cases) {
    TMemoryStream s;
    s.WriteBuffer(c.bytes.data(), static_cast<int64_t>(c.bytes.size()));
    s.SetPosition(0);
    EXPECT_THROW(ReadNodeInfo(&s), EReadError) << c.what;
  }
}

TEST(NotifyText, CopiesAreCutToTheBufferAndAlwaysEnded) {
  // A buffer of one character gets an empty text, not what it held before.
  char buffer[8];
  struct Case {
    int size;
    const char* expected;
  } cases[] = {{8, "abcdefg"}, {4, "abc"}, {1, ""}};
  for (auto& c : cases) {
    std::memset(buffer, 'z', sizeof buffer);
    CopyNotifyText(buffer, c.size, "abcdefghij");
    EXPECT_STREQ(buffer, c.expected) << c.size;
  }
  std::memset(buffer, 'z', sizeof buffer);
  CopyNotifyText(buffer, 0, "abc");
  EXPECT_EQ(buffer[0], 'z');
  wchar_t wide[4];
  CopyNotifyText(wide, 4, L"\x65e5\x672c\x8a9e\x8a9e");
  EXPECT_EQ(std::wstring(wide), L"\x65e5\x672c\x8a9e");
}

TEST_F(TreeFixture, NodesKeepTheirOrderWithAndWithoutAWindow) {
  TTreeNodes* items = tree->Items();
  TTreeNode* b = items->Add(nullptr, "b");
  TTreeNode* a = items->AddFirst(b, "a");
  TTreeNode* d = items->Add(nullptr, "d");
  items->Insert(d, "c");
  TTreeNode* b2 = items->AddChild(b, "b2");
  items->AddChildFirst(b, "b1");
  items->AddChild(b2, "b2x");
  Texts expected{"a", "b", "  b1", "  b2", "    b2x", "c", "d"};
  EXPECT_EQ(NodeTexts(), expected);
  EXPECT_EQ(items->Count(), 7);
  EXPECT_EQ(items->Item(4)->Text(), "b2x");
  EXPECT_EQ(items->Item(4)->Level(), 2);
  EXPECT_EQ(items->Item(4)->AbsoluteIndex(), 4);
  EXPECT_EQ(items->Item(4)->GetPrev(), b2);
  EXPECT_EQ(items->Item(4)->GetNext()->Text(), "c");
  EXPECT_TRUE(b->HasChildren());
  EXPECT_FALSE(a->HasChildren());
  EXPECT_THROW(items->Item(7), EListError);
  EXPECT_THROW(b->Item(2), EListError);

  // The window shows them in the same order, also after a style change re-creates it.
  EXPECT_EQ(Shown(), expected);
  tree->SetShowLines(false);
  EXPECT_EQ(Shown(), expected);
  EXPECT_EQ(NodeTexts(), expected);
}

TEST_F(TreeFixture, DeletingTellsEveryNodeAndUpdatesTheParent) {
  TTreeNodes* items = tree->Items();
  TTreeNode* p = items->Add(nullptr, "p");
  TTreeNode* c = items->AddChild(p, "c");
  items->AddChild(c, "cc");
  items->Add(nullptr, "q");
  tree->Handle();
  std::vector<std::string> deleted;
  tree->OnDeletion = [&](TObject*, TTreeNode* n) {
    EXPECT_TRUE(n->Deleting());
    deleted.push_back(n->Text());
  };
  c->Delete();
  EXPECT_EQ(deleted, (Texts{"cc", "c"}));
  EXPECT_FALSE(p->HasChildren());
  EXPECT_EQ(Shown(), (Texts{"p", "q"}));
  deleted.clear();
  items->Clear();
  EXPECT_EQ(deleted, (Texts{"p", "q"}));
  EXPECT_EQ(items->Count(), 0);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(TreeFixture, ChildrenAreAddedWhenTheNodeFirstOpens) {
  TTreeNode* lazy = tree->Items()->Add(nullptr, "folder");
  lazy->SetHasChildren(true);
  int expanding = 0;
  std::vector<TTreeNode*> expanded;
  bool allow = true;
  tree->OnExpanding = [&](TObject*, TTreeNode* node, bool& allowExpansion) {
    ++expanding;
    allowExpansion = allow;
    if (allow && node->Count() == 0) {
      tree->Items()->AddChild(node, "one");
      tree->Items()->AddChild(node, "two");
    }
  };
  tree->OnExpanded = [&](TObject*, TTreeNode* node) { expanded.push_back(node); };
  tree->Handle();

  allow = false;
  lazy->Expand(false);
  EXPECT_EQ(expanding, 1);
  EXPECT_FALSE(lazy->Expanded());
  EXPECT_EQ(lazy->Count(), 0);

  // A click on the button is the user's expansion.
  allow = true;
  RECT r = lazy->DisplayRect(true);
  int buttonX = r.left - tree->Indent() / 2 - 3;
  THitTests hits = tree->GetHitTestInfoAt(buttonX, (r.top + r.bottom) / 2);
  ASSERT_TRUE(hits & HitTestBit(htOnButton)) << hits;
  SendMessageA(Wnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(buttonX, (r.top + r.bottom) / 2));
  SendMessageA(Wnd(), WM_LBUTTONUP, 0, MAKELPARAM(buttonX, (r.top + r.bottom) / 2));
  Flush();
  EXPECT_EQ(expanding, 2);
  EXPECT_TRUE(lazy->Expanded());
  ASSERT_EQ(expanded.size(), 1u);
  EXPECT_EQ(expanded[0], lazy);
  EXPECT_EQ(Shown(), (Texts{"folder", "  one", "  two"}));
  EXPECT_TRUE(lazy->Item(1)->IsVisible());
}

TEST_F(TreeFixture, HitTestsFindTheNodeUnderAPoint) {
  TTreeNode* first = tree->Items()->Add(nullptr, "first");
  TTreeNode* second = tree->Items()->Add(nullptr, "second");
  tree->Handle();
  for (TTreeNode* node : {first, second}) {
    RECT r = node->DisplayRect(true);
    ASSERT_GT(r.right, r.left);
    int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    EXPECT_EQ(tree->GetNodeAt(x, y), node);
    THitTests hits = tree->GetHitTestInfoAt(x, y);
    EXPECT_TRUE(hits & HitTestBit(htOnLabel));
    EXPECT_TRUE(hits & HitTestBit(htOnItem));
    EXPECT_TRUE(tree->GetHitTestInfoAt(r.right + 20, y) & HitTestBit(htOnRight));
  }
  EXPECT_EQ(tree->GetNodeAt(10, 250), nullptr);
  EXPECT_TRUE(tree->GetHitTestInfoAt(10, 250) & HitTestBit(htNowhere));
  EXPECT_TRUE(tree->GetHitTestInfoAt(-5, 5) & HitTestBit(htToLeft));
}

TEST_F(TreeFixture, LabelsAreEditedInPlace) {
  TTreeNode* node = tree->Items()->Add(nullptr, "old");
  tree->Handle();
  tree->SetFocus();
  bool allowEdit = false;
  std::string seen;
  int cancelled = 0;
  tree->OnEditing = [&](TObject*, TTreeNode*, bool& allow) { allow = allowEdit; };
  tree->OnEdited = [&](TObject*, TTreeNode* n, AnsiString& s) {
    EXPECT_EQ(n, node);
    seen = s;
    s += "!";
  };
  tree->OnCancelEdit = [&](TObject*, TTreeNode*) { ++cancelled; };

  EXPECT_FALSE(node->EditText());  // refused by OnEditing
  EXPECT_FALSE(tree->IsEditing());

  allowEdit = true;
  ASSERT_TRUE(node->EditText());
  ASSERT_NE(tree->EditHandle(), nullptr);
  SetWindowTextA(tree->EditHandle(), "new");
  node->EndEdit(false);
  Flush();
  EXPECT_EQ(seen, "new");
  EXPECT_EQ(node->Text(), "new!");
  EXPECT_EQ(Shown(), (Texts{"new!"}));
  EXPECT_EQ(tree->EditHandle(), nullptr);

  ASSERT_TRUE(node->EditText());
  SetWindowTextA(tree->EditHandle(), "dropped");
  node->EndEdit(true);
  EXPECT_EQ(cancelled, 1);
  EXPECT_EQ(node->Text(), "new!");

  // A read-only tree makes no editor.
  tree->SetReadOnly(true);
  EXPECT_EQ(GetWindowLongPtrA(Wnd(), GWL_STYLE) & TVS_EDITLABELS, 0);
}

TEST_F(TreeFixture, SortingUsesTheTextsOrTheCompareHandler) {
  TTreeNodes* items = tree->Items();
  for (const char* s : {"pear", "apple", "fig"}) items->Add(nullptr, s);
  TTreeNode* fig = items->Item(2);
  for (const char* s : {"z", "y"}) items->AddChild(fig, s);
  tree->Handle();

  EXPECT_TRUE(tree->AlphaSort(true));
  EXPECT_EQ(NodeTexts(), (Texts{"apple", "fig", "  y", "  z", "pear"}));
  EXPECT_EQ(Shown(), NodeTexts());

  // Longest first, through the handler.
  tree->OnCompare = [](TObject*, TTreeNode* a, TTreeNode* b, int, int& compare) {
    compare = static_cast<int>(b->Text().size()) - static_cast<int>(a->Text().size());
  };
  EXPECT_TRUE(tree->AlphaSort(false));
  EXPECT_EQ(NodeTexts(), (Texts{"apple", "pear", "fig", "  y", "  z"}));
  EXPECT_EQ(Shown(), NodeTexts());

  // A sorted tree keeps new and renamed nodes in order.
  tree->OnCompare = nullptr;
  tree->SetSortType(stText);
  EXPECT_EQ(NodeTexts(), (Texts{"apple", "fig", "  y", "  z", "pear"}));
  items->Add(nullptr, "banana");
  items->Item(0)->SetText("zucchini");
  EXPECT_EQ(NodeTexts(), (Texts{"banana", "fig", "  y", "  z", "pear", "zucchini"}));
  EXPECT_EQ(Shown(), NodeTexts());

  // Inside an update the order waits for its end.
  items->BeginUpdate();
  items->Add(nullptr, "apricot");
  items->AddChild(items->Item(1), "x");
  EXPECT_EQ(items->Item(items->Count() - 1)->Text(), "apricot");
  items->EndUpdate();
  EXPECT_EQ(NodeTexts(), (Texts{"apricot", "banana", "fig", "  x", "  y", "  z", "pear", "zucchini"}));
  EXPECT_EQ(Shown(), NodeTexts());
}

TEST_F(TreeFixture, SelectionAndExpansionSurviveRecreation) {
  TTreeNodes* items = tree->Items();
  TTreeNode* a = items->Add(nullptr, "a");
  TTreeNode* a1 = items->AddChild(a, "a1");
  items->Add(nullptr, "b");
  a1->SetSelected(true);  // before the window: applied when it comes
  tree->Handle();
  EXPECT_EQ(tree->Selected(), a1);

  std::vector<TTreeNode*> changed;
  bool allow = true;
  tree->OnChanging = [&](TObject*, TTreeNode*, bool& allowChange) { allowChange = allow; };
  tree->OnChange = [&](TObject*, TTreeNode* n) { changed.push_back(n); };
  allow = false;
  items->Item(2)->SetSelected(true);
  EXPECT_EQ(tree->Selected(), a1);
  EXPECT_TRUE(changed.empty());
  allow = true;
  a->SetSelected(true);
  EXPECT_EQ(tree->Selected(), a);
  EXPECT_EQ(changed, std::vector<TTreeNode*>{a});

  a->Expand(false);
  changed.clear();
  tree->SetShowButtons(false);
  EXPECT_EQ(tree->Selected(), a);
  EXPECT_TRUE(a->Expanded());
  EXPECT_TRUE(changed.empty());
}

TEST(TreeStorage, NodesAreStoredAndReadBackByteForByte) {
  auto writeTree = [](TTreeView& tree) {
    TMemoryStream s;
    {
      TWriter w(&s);
      w.WriteRootComponent(&tree);
    }
    return BytesOf(s);
  };
  int marker = 0;
  TTreeView source(nullptr);
  source.SetName("Tree");
  TTreeNode* a = source.Items()->Add(nullptr, "alpha");
  a->SetImageIndex(1);
  a->SetSelectedIndex(2);
  a->SetStateIndex(3);
  a->SetOverlayIndex(0);
  source.Items()->AddChild(a, "child");
  TTreeNode* b = source.Items()->AddObject(nullptr, std::string(280, 'b'), &marker);
  Bytes stored = writeTree(source);

  RegisterTreeViewControls();
  TTreeView copy(nullptr);
  ReadComponentData(stored.data(), stored.size(), &copy, "tree.dfm");
  ASSERT_EQ(copy.Items()->Count(), 3);
  TTreeNode* a2 = copy.Items()->Item(0);
  EXPECT_EQ(a2->Text(), "alpha");
  EXPECT_EQ(a2->ImageIndex(), 1);
  EXPECT_EQ(a2->SelectedIndex(), 2);
  EXPECT_EQ(a2->StateIndex(), 3);
  EXPECT_EQ(a2->OverlayIndex(), 0);
  EXPECT_EQ(a2->Item(0)->Text(), "child");
  EXPECT_EQ(copy.Items()->Item(2)->Text(), std::string(255, 'b'));
  // The stored data field is no pointer of this run.
  EXPECT_EQ(copy.Items()->Item(2)->Data(), nullptr);

  // Once the pointer is left out, the stored bytes are the same again.
  b->SetData(nullptr);
  b->SetText(std::string(255, 'b'));
  EXPECT_EQ(writeTree(copy), writeTree(source));

  // An empty list stores nothing; Assign copies data pointers too.
  TTreeView empty(nullptr);
  empty.SetName("Tree");
  Bytes none = writeTree(empty);
  EXPECT_EQ(std::string(none.begin(), none.end()).find("Items.Data"), std::string::npos);
  EXPECT_NE(std::string(stored.begin(), stored.end()).find("Items.Data"), std::string::npos);
  b->SetData(&marker);
  empty.SetItems(source.Items());
  EXPECT_EQ(empty.Items()->Count(), 3);
  EXPECT_EQ(empty.Items()->Item(2)->Data(), &marker);
  EXPECT_EQ(empty.Items()->Item(0)->ImageIndex(), 1);
}

TEST_F(TreeFixture, DraggingStartsOnTheNodeAndBlocksEditing) {
  TTreeNode* node = tree->Items()->Add(nullptr, "drag me");
  tree->Handle();
  std::vector<TTreeNode*> started;
  tree->OnStartDrag = [&](TObject*, TTreeNode* n) { started.push_back(n); };
  // What the control sends when the mouse moves off a pressed item.
  NMTREEVIEWA nm{};
  nm.hdr.hwndFrom = Wnd();
  nm.hdr.code = TVN_BEGINDRAGA;
  nm.itemNew.hItem = node->ItemId();
  nm.itemNew.lParam = reinterpret_cast<LPARAM>(node);
  SendMessageA(host->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
  EXPECT_EQ(started, std::vector<TTreeNode*>{node});
  EXPECT_TRUE(tree->Dragging());
  EXPECT_EQ(tree->DragNode(), node);
  EXPECT_EQ(GetCapture(), Wnd());
  tree->SetFocus();
  EXPECT_FALSE(node->EditText());
  SendMessageA(Wnd(), WM_LBUTTONUP, 0, 0);
  EXPECT_FALSE(tree->Dragging());
  EXPECT_NE(GetCapture(), Wnd());
}

TEST_F(TreeFixture, RightClickSelectsTheNodeUnderTheCursor) {
  tree->Items()->Add(nullptr, "one");
  TTreeNode* two = tree->Items()->Add(nullptr, "two");
  tree->Handle();
  tree->RightClickSelect = true;
  RECT r = two->DisplayRect(true);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(Wnd(), &p);
  SetCursorPos(p.x, p.y);
  NMHDR hdr{Wnd(), 0, static_cast<UINT>(NM_RCLICK)};
  SendMessageA(host->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_EQ(tree->Selected(), two);
}

TEST_F(TreeFixture, AClickSeesTheClickedNodeSelected) {
  tree->Items()->Add(nullptr, "one");
  TTreeNode* two = tree->Items()->Add(nullptr, "two");
  tree->Handle();
  tree->Items()->Item(0)->SetSelected(true);
  std::vector<TTreeNode*> selectedAtClick;
  tree->OnClick = [&](TObject*) { selectedAtClick.push_back(tree->Selected()); };
  RECT r = two->DisplayRect(true);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(Wnd(), &p);
  SetCursorPos(p.x, p.y);
  NMHDR hdr{Wnd(), 0, static_cast<UINT>(NM_CLICK)};
  SendMessageA(host->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&hdr));
  EXPECT_EQ(selectedAtClick, std::vector<TTreeNode*>{two});
}

TEST_F(TreeFixture, AUsersMouseClickSelectsAndClicks) {
  tree->Items()->Add(nullptr, "one");
  TTreeNode* two = tree->Items()->Add(nullptr, "two");
  tree->Handle();
  std::vector<TTreeNode*> selectedAtClick;
  tree->OnClick = [&](TObject*) { selectedAtClick.push_back(tree->Selected()); };
  RECT r = two->DisplayRect(true);
  POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(Wnd(), &p);
  SetCursorPos(p.x, p.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, input, sizeof(INPUT)), 2u);
  EXPECT_TRUE(DispatchUntil([&] { return !selectedAtClick.empty(); }));
  EXPECT_EQ(selectedAtClick, std::vector<TTreeNode*>{two});
  EXPECT_EQ(tree->Selected(), two);
}

TEST_F(TreeFixture, ImagesAreAskedOfTheNodeWhenShown) {
  TTreeNode* node = tree->Items()->Add(nullptr, "pic");
  node->SetImageIndex(2);
  node->SetSelectedIndex(5);
  tree->Handle();
  int asked = 0;
  auto images = [&] {
    TVITEMA item{};
    item.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node->ItemId();
    SendMessageA(Wnd(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return std::make_pair(item.iImage, item.iSelectedImage);
  };
  EXPECT_EQ(images(), std::make_pair(2, 5));
  tree->OnGetImageIndex = [&](TObject*, TTreeNode* n) {
    ++asked;
    n->SetImageIndex(n->Expanded() ? 1 : 0);
  };
  EXPECT_EQ(images().first, 0);
  EXPECT_GT(asked, 0);
}

TEST_F(TreeFixture, NodesAddedBeforeTheWindowAreSortedWhenItComes) {
  delete tree;
  tree = new TTreeView(host.get());
  tree->SetSortType(stText);
  tree->Items()->Add(nullptr, "b");
  tree->Items()->Add(nullptr, "a");
  EXPECT_FALSE(tree->HandleAllocated());
  EXPECT_EQ(NodeTexts(), (Texts{"b", "a"}));
  tree->SetParent(host.get());
  EXPECT_EQ(NodeTexts(), (Texts{"a", "b"}));
  EXPECT_EQ(Shown(), NodeTexts());
}

TEST_F(TreeFixture, ImageListsReachTheWindowAndAreLetGoWhenFreed) {
  auto* images = new TImageList(nullptr, 16, 16);
  auto* states = new TImageList(nullptr, 12, 12);
  TTreeNode* node = tree->Items()->Add(nullptr, "with a picture");
  tree->SetImages(images);
  tree->SetStateImages(states);
  auto imageList = [&](int which) {
    return reinterpret_cast<HIMAGELIST>(SendMessageA(Wnd(), TVM_GETIMAGELIST, static_cast<WPARAM>(which), 0));
  };
  EXPECT_EQ(imageList(TVSIL_NORMAL), images->Handle());
  EXPECT_EQ(imageList(TVSIL_STATE), states->Handle());
  // A new window gets them again; a list that changes its handle is taken again.
  tree->SetShowLines(false);
  EXPECT_EQ(imageList(TVSIL_NORMAL), images->Handle());
  auto rowHeight = [&] {
    RECT r = node->DisplayRect(false);
    return r.bottom - r.top;
  };
  int before = rowHeight();
  images->SetSize(32, 32);
  EXPECT_EQ(imageList(TVSIL_NORMAL), images->Handle());
  EXPECT_GT(rowHeight(), before + 8);  // rows grow with the pictures
  delete images;
  EXPECT_EQ(tree->Images(), nullptr);
  EXPECT_EQ(imageList(TVSIL_NORMAL), nullptr);
  delete states;
  EXPECT_EQ(tree->StateImages(), nullptr);
}
