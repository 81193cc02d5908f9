// The wide tree view: wide node texts in the window, in stored descriptions, through
// re-creation, label editing and sorting.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/vcl/test_windows.h"
#include "tests/widetext/wide_controls.h"
#include "vcl/streaming.h"
#include "widetext/codecs.h"
#include "widetext/uni_tree_view.h"

using namespace testwin;

namespace {

using Bytes = std::vector<uint8_t>;
using WTexts = std::vector<WideString>;

const WideString kGreek = L"\x0395\x03bb\x03bb\x03b7\x03bd\x03b9\x03ba\x03ac";  // Ελληνικά
const WideString kJapanese = L"\x65e5\x672c\x8a9e";                            // 日本語

Bytes BytesOf(TMemoryStream& s) {
  const auto* p = static_cast<const uint8_t*>(s.Memory());
  return Bytes(p, p + s.Size());
}

struct UniTreeFixture : ::testing::Test {
  std::unique_ptr<THostWindow> host{ShownHost(320, 300)};
  TUniTreeView* tree = nullptr;
  void SetUp() override {
    tree = new TUniTreeView(host.get());
    tree->SetParent(host.get());
    tree->SetBounds(0, 0, 300, 280);
  }
  HWND Wnd() { return tree->Handle(); }
  // What the window shows, every item (open or not) in display order.
  WTexts Shown(HTREEITEM parent = TVI_ROOT) {
    WTexts out;
    auto item = reinterpret_cast<HTREEITEM>(parent == TVI_ROOT
                                                ? SendMessageW(Wnd(), TVM_GETNEXTITEM, TVGN_ROOT, 0)
                                                : SendMessageW(Wnd(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
    for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageW(Wnd(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
      wchar_t text[256] = {};
      TVITEMW tv{};
      tv.mask = TVIF_TEXT | TVIF_HANDLE;
      tv.hItem = item;
      tv.pszText = text;
      tv.cchTextMax = 256;
      SendMessageW(Wnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
      out.push_back(tv.pszText);
      for (auto& child : Shown(item)) out.push_back(L"  " + child);
    }
    return out;
  }
  WTexts NodeTexts() {
    WTexts out;
    for (TUniTreeNode* n = tree->Items()->GetFirstNode(); n; n = n->GetNext())
      out.push_back(WideString(2 * n->Level(), L' ') + n->Text());
    return out;
  }
};

Bytes WriteTree(TComponent& tree) {
  TMemoryStream s;
  {
    TWriter w(&s);
    w.WriteRootComponent(&tree);
  }
  return BytesOf(s);
}

}  // namespace

TEST(UniTreeStoredText, TextsAreCutAtWholeCharactersToFit) {
  struct Case {
    WideString text;
    size_t keptChars;
  } cases[] = {
      {WideString(300, L'a'), 252},                   // 3 + 252 = 255
      {WideString(200, L'\x03b1'), 126},              // two bytes each
      {WideString(100, L'\x65e5'), 84},               // three bytes each
      {WideString(83, L'\x65e5') + L"\xD83D\xDE00", 83},  // 3 + 249 leave room for 3 bytes, not the pair's 4
      {kJapanese, 3},
  };
  for (auto& c : cases) {
    AnsiString stored = StoredUtf8NodeText(c.text);
    EXPECT_LE(stored.size(), 255u);
    EXPECT_EQ(stored.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(WideNodeTextOfStored(stored), c.text.substr(0, c.keptChars)) << c.keptChars;
  }
  // Text without the mark is 8-bit text of the code page.
  EXPECT_EQ(WideNodeTextOfStored("caf\xE9"), AnsiToWide("caf\xE9"));
}

TEST_F(UniTreeFixture, WideTextsShowAndSurviveRecreationAtEveryLevel) {
  TUniTreeNodes* items = tree->Items();
  TUniTreeNode* greek = items->Add(nullptr, kGreek);
  items->AddChild(greek, kJapanese);  // collapsed: never displayed before the re-creation
  TUniTreeNode* plain = items->Add(nullptr, L"plain");
  WTexts expected{kGreek, L"  " + kJapanese, L"plain"};
  EXPECT_EQ(Shown(), expected);

  // Set through the framework's 8-bit text, the wide text follows it.
  static_cast<TTreeNode*>(plain)->SetText("caf\xE9");
  EXPECT_EQ(plain->Text(), AnsiToWide("caf\xE9"));
  plain->SetText(L"plain");

  tree->SetShowRoot(false);
  EXPECT_EQ(Shown(), expected);
  greek->Expand(false);
  EXPECT_TRUE(greek->Expanded());
  tree->SetRowSelect(true);
  EXPECT_EQ(Shown(), expected);
  EXPECT_EQ(NodeTexts(), expected);
}

TEST_F(UniTreeFixture, ChildrenComeFromOnExpanding) {
  TUniTreeNode* folder = tree->Items()->Add(nullptr, kGreek);
  folder->SetHasChildren(true);
  std::vector<TTreeNode*> expanding, collapsed;
  tree->OnExpanding = [&](TObject*, TTreeNode* node, bool&) {
    expanding.push_back(node);
    if (node->Count() == 0) tree->Items()->AddChild(node, kJapanese);
  };
  tree->OnCollapsed = [&](TObject*, TTreeNode* node) { collapsed.push_back(node); };
  tree->Handle();
  folder->Expand(false);
  EXPECT_EQ(expanding, std::vector<TTreeNode*>{folder});
  EXPECT_TRUE(folder->Expanded());
  EXPECT_EQ(Shown(), (WTexts{kGreek, L"  " + kJapanese}));
  folder->Collapse(false);
  EXPECT_EQ(collapsed, std::vector<TTreeNode*>{folder});
}

TEST_F(UniTreeFixture, HitTestFindsAWideNode) {
  tree->Items()->Add(nullptr, L"first");
  TUniTreeNode* node = tree->Items()->Add(nullptr, kJapanese);
  tree->Handle();
  RECT r = node->DisplayRect(true);
  EXPECT_EQ(tree->GetNodeAt((r.left + r.right) / 2, (r.top + r.bottom) / 2), node);
  EXPECT_TRUE(tree->GetHitTestInfoAt((r.left + r.right) / 2, (r.top + r.bottom) / 2) & HitTestBit(htOnLabel));
}

TEST_F(UniTreeFixture, LabelEditsCarryWideText) {
  TUniTreeNode* node = tree->Items()->Add(nullptr, L"old");
  tree->Handle();
  tree->SetFocus();
  WideString seen;
  tree->OnEdited = [&](TObject*, TUniTreeNode* n, WideString& s) {
    EXPECT_EQ(n, node);
    seen = s;
    s = kGreek + L" " + s;
  };
  ASSERT_TRUE(node->EditText());
  ASSERT_NE(tree->EditHandle(), nullptr);
  EXPECT_TRUE(IsWindowUnicode(tree->EditHandle()));
  SetWindowTextW(tree->EditHandle(), kJapanese.c_str());
  node->EndEdit(false);
  Flush();
  EXPECT_EQ(seen, kJapanese);
  EXPECT_EQ(node->Text(), kGreek + L" " + kJapanese);
  EXPECT_EQ(Shown(), (WTexts{kGreek + L" " + kJapanese}));

  // Without the wide handler the framework's 8-bit one gets the text.
  tree->OnEdited = nullptr;
  AnsiString narrow;
  static_cast<TCustomTreeView*>(tree)->OnEdited = [&](TObject*, TTreeNode*, AnsiString& s) {
    narrow = s;
    s = "ok";
  };
  ASSERT_TRUE(node->EditText());
  SetWindowTextW(tree->EditHandle(), L"abc");
  node->EndEdit(false);
  EXPECT_EQ(narrow, "abc");
  EXPECT_EQ(node->Text(), L"ok");
}

TEST_F(UniTreeFixture, SortingComparesWideTexts) {
  // All three are "???" in the 8-bit code page: only the wide compare can order them.
  TUniTreeNodes* items = tree->Items();
  for (const wchar_t* s : {L"\x65e5", L"\x0391", L"\x0416"}) items->Add(nullptr, s);
  tree->Handle();
  WTexts byCode{L"\x0391", L"\x0416", L"\x65e5"};
  ASSERT_TRUE(tree->AlphaSort(true));
  std::vector<WideString> sorted = NodeTexts();
  EXPECT_EQ(Shown(), sorted);
  // lstrcmpW's order of the wide texts, not the (equal) 8-bit ones.
  std::vector<WideString> expected = byCode;
  std::sort(expected.begin(), expected.end(),
            [](const WideString& a, const WideString& b) { return lstrcmpW(a.c_str(), b.c_str()) < 0; });
  EXPECT_EQ(sorted, expected);

  int calls = 0;
  tree->OnCompare = [&](TObject*, TTreeNode* a, TTreeNode* b, int, int& compare) {
    ++calls;
    compare = -lstrcmpW(static_cast<TUniTreeNode*>(a)->Text().c_str(), static_cast<TUniTreeNode*>(b)->Text().c_str());
  };
  ASSERT_TRUE(tree->AlphaSort(true));
  EXPECT_GT(calls, 0);
  std::reverse(expected.begin(), expected.end());
  EXPECT_EQ(NodeTexts(), expected);
  EXPECT_EQ(Shown(), expected);
}

TEST(UniTreeStorage, WideNodesAreStoredAndReadBackByteForByte) {
  RegisterUniTreeView();
  TUniTreeView source(nullptr);
  source.SetName("Tree");
  TUniTreeNode* a = source.Items()->Add(nullptr, kGreek);
  a->SetImageIndex(4);
  a->SetOverlayIndex(1);
  source.Items()->AddChild(a, kJapanese);
  source.Items()->Add(nullptr, L"plain");
  Bytes stored = WriteTree(source);
  std::string raw(stored.begin(), stored.end());
  EXPECT_NE(raw.find("Items.Data"), std::string::npos);
  EXPECT_NE(raw.find("Items.Utf8Data"), std::string::npos);

  TUniTreeView copy(nullptr);
  ReadComponentData(stored.data(), stored.size(), &copy, "tree.dfm");
  ASSERT_EQ(copy.Items()->Count(), 3);
  EXPECT_EQ(copy.Items()->Item(0)->Text(), kGreek);
  EXPECT_EQ(copy.Items()->Item(0)->ImageIndex(), 4);
  EXPECT_EQ(copy.Items()->Item(0)->OverlayIndex(), 1);
  EXPECT_EQ(copy.Items()->Item(1)->Text(), kJapanese);
  EXPECT_EQ(copy.Items()->Item(1)->Level(), 1);
  EXPECT_EQ(copy.Items()->Item(2)->Text(), L"plain");
  EXPECT_EQ(WriteTree(copy), stored);

  // A text too long for a record comes back shortened.
  source.Items()->Add(nullptr, WideString(100, L'\x65e5'));
  stored = WriteTree(source);
  ReadComponentData(stored.data(), stored.size(), &copy, "tree.dfm");
  ASSERT_EQ(copy.Items()->Count(), 4);
  EXPECT_EQ(copy.Items()->Item(3)->Text(), WideString(84, L'\x65e5'));

  // Assign between wide lists keeps the wide texts.
  TUniTreeView other(nullptr);
  other.SetItems(source.Items());
  EXPECT_EQ(other.Items()->Item(1)->Text(), kJapanese);
}

TEST(UniTreeStorage, NodeClassMustBeWide) {
  TUniTreeView tree(nullptr);
  tree.OnCreateNodeClass = [](TCustomTreeView*, const TTreeNodeClass*& cls) { cls = TreeNodeClassOf<TTreeNode>(); };
  try {
    tree.Items()->Add(nullptr, L"x");
    FAIL() << "no error";
  } catch (const EUniInternalError& e) {
    EXPECT_STREQ(e.what(), "Internal Error: OnCreateNodeClass.ItemClass must inherit from TUniTreeNode.");
  }
  EXPECT_EQ(tree.Items()->Count(), 0);
}

TEST(FrameworkTreeInUnicodeParent, StillGetsItsEightBitNotifications) {
  std::unique_ptr<THostWindow> host{ShownHost(320, 300)};
  auto* panel = new widetest::TWidePanel(host.get());
  panel->SetParent(host.get());
  panel->SetBounds(0, 0, 300, 280);
  auto* tree = new TTreeView(host.get());
  tree->SetParent(panel);
  tree->SetBounds(0, 0, 280, 260);
  TTreeNode* a = tree->Items()->Add(nullptr, "alpha");
  TTreeNode* b = tree->Items()->Add(nullptr, "beta");
  ASSERT_TRUE(IsWindowUnicode(panel->Handle()));
  std::vector<TTreeNode*> changed;
  tree->OnChange = [&](TObject*, TTreeNode* n) { changed.push_back(n); };
  b->SetSelected(true);
  EXPECT_EQ(changed, std::vector<TTreeNode*>{b});
  char text[32] = {};
  TVITEMA item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = a->ItemId();
  item.pszText = text;
  item.cchTextMax = sizeof text;
  SendMessageA(tree->Handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_STREQ(item.pszText, "alpha");
}
