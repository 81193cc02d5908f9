// Stored descriptions: text -> binary -> components -> binary, handlers, references,
// Loaded, errors, the class registry and descriptions embedded as resources.
#include "vcl/streaming.h"

#include <gtest/gtest.h>

#include <cstring>

#include "stream_components.h"
#include "vcl/formtext.h"

namespace {

// In the order and form the writer produces, so that writing back gives the same bytes.
const char* const kFullForm = R"(object TestRoot: TTestRoot
  Tag = 7
  object Widget1: TTestWidget
    Tag = -2
    Caption = 'It''s plain'
    Title = 'Caf'#233' '#$2013' Ελληνικά '#8211' 日本語'
    Mark = 'Ω'
    Letter = 'x'
    Count = 300
    Flags = 4000000000
    Size64 = 1099511627776
    Visible = False
    Align = taClient
    Anchors = [akLeft, akRight]
    Ratio = 1.5
    Font.Name = 'Tahoma'
    Font.Size = 10
    Font.Style = [fsBold, fsUnderline]
    Font.Color = clRed
    Lines.Strings = (
      'first'
      'second' +
      ' line')
    Columns = <
      item
        Caption = 'Name'
        Width = 120
      end
      item
        Caption = '日付'
        Alignment = taRightJustify
      end>
    Buddy = Panel1
    OnClick = WidgetClick
    OnQuery = WidgetQuery
    Extra = (
      1
      -2
      70000)
    Blob = {
      DEADBEEF
      00}
  end
  object Panel1: TTestPanel
    Caption = 'panel'
    object Widget2: TTestWidget
      Buddy = TestRoot
      OnClick = WidgetClick
    end
  end
end
)";

std::vector<uint8_t> Bytes(TMemoryStream& s) {
  const auto* p = static_cast<const uint8_t*>(s.Memory());
  return std::vector<uint8_t>(p, p + s.Size());
}

std::vector<uint8_t> TextToBinary(const char* text) {
  TMemoryStream out;
  ObjectTextToBinary(text, &out, "test.dfm");
  return Bytes(out);
}

std::vector<uint8_t> WriteBinary(TComponent* root) {
  TMemoryStream out;
  WriteComponent(&out, root);
  return Bytes(out);
}

void ReadText(const char* text, TComponent* root, const char* source = "test.dfm") {
  ReadComponentData(text, std::strlen(text), root, source);
}

class Streaming : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    TTestWidget::LoadedLog().clear();
  }
};

}  // namespace

TEST_F(Streaming, TextReadAndWrittenBackGivesTheSameBinary) {
  std::vector<uint8_t> binary = TextToBinary(kFullForm);
  TTestRoot root(nullptr);
  TMemoryStream in;
  in.WriteBuffer(binary.data(), static_cast<int64_t>(binary.size()));
  in.SetPosition(0);
  ReadComponent(&in, &root, "test.dfm");

  std::vector<uint8_t> written = WriteBinary(&root);
  auto diff = std::mismatch(written.begin(), written.end(), binary.begin(), binary.end());
  EXPECT_EQ(written, binary) << "first difference at byte " << (diff.first - written.begin()) << ": "
                             << std::string(diff.first, std::min(diff.first + 40, written.end())) << " | "
                             << std::string(diff.second, std::min(diff.second + 40, binary.end()));
}

TEST_F(Streaming, ReaderAppliesEveryKindOfValue) {
  TTestRoot root(nullptr);
  ReadText(kFullForm, &root);

  EXPECT_EQ(root.Name(), "TestRoot");
  EXPECT_EQ(root.Tag, 7);
  ASSERT_EQ(root.ComponentCount(), 3);
  auto* w = dynamic_cast<TTestWidget*>(root.FindComponent("Widget1"));
  auto* panel = dynamic_cast<TTestPanel*>(root.FindComponent("Panel1"));
  auto* w2 = dynamic_cast<TTestWidget*>(root.FindComponent("Widget2"));
  ASSERT_TRUE(w && panel && w2);
  EXPECT_EQ(root.Widget1, w);  // the root's field, set by name

  EXPECT_EQ(w->Tag, -2);
  EXPECT_EQ(w->Caption, "It's plain");
  EXPECT_EQ(w->Title, L"Caf\u00e9 \u2013 \u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u2013 \u65e5\u672c\u8a9e");
  EXPECT_EQ(w->Mark, L'\u03a9');
  EXPECT_EQ(w->Letter, 'x');
  EXPECT_EQ(w->Count, 300);
  EXPECT_EQ(w->Flags, 4000000000u);
  EXPECT_EQ(w->Size64, 1099511627776LL);
  EXPECT_FALSE(w->Visible);
  EXPECT_EQ(w->Align, taClient);
  EXPECT_EQ(w->Anchors, (1u << akLeft) | (1u << akRight));
  EXPECT_DOUBLE_EQ(w->Ratio, 1.5);
  EXPECT_EQ(w->Font.Name, "Tahoma");
  EXPECT_EQ(w->Font.Size, 10);
  EXPECT_EQ(w->Font.Style, (1u << fsBold) | (1u << fsUnderline));
  EXPECT_EQ(w->Font.Color, 0x0000FF);
  EXPECT_EQ(w->Lines.Text(), "first\r\nsecond line\r\n");
  ASSERT_EQ(w->Columns.Count(), 2);
  auto* c0 = static_cast<TTestColumn*>(w->Columns.Items(0));
  auto* c1 = static_cast<TTestColumn*>(w->Columns.Items(1));
  EXPECT_EQ(c0->Caption, L"Name");
  EXPECT_EQ(c0->Width, 120);
  EXPECT_EQ(c1->Caption, L"\u65e5\u4ed8");
  EXPECT_EQ(c1->Width, 50);
  EXPECT_EQ(c1->Alignment, taRightJustify);
  EXPECT_EQ(w->Extra, (std::vector<int>{1, -2, 70000}));
  EXPECT_EQ(w->Blob, (std::vector<uint8_t>{0xDE, 0xAD, 0xBE, 0xEF, 0x00}));

  // References, including one to a component read later and one to the root.
  EXPECT_EQ(w->Buddy, panel);
  EXPECT_EQ(w2->Buddy, &root);
  // Parents: what each widget was read inside.
  EXPECT_EQ(w->Parent, &root);
  EXPECT_EQ(panel->Parent, &root);
  EXPECT_EQ(w2->Parent, panel);
  EXPECT_EQ(panel->Caption, "panel");
  // Values not in the description keep their defaults.
  EXPECT_TRUE(w2->Visible);
  EXPECT_EQ(w2->Anchors, (1u << akLeft) | (1u << akTop));
}

TEST_F(Streaming, ASecondRootOfTheSameNameUnderOneOwnerIsNumbered) {
  TComponent owner(nullptr);
  auto* first = new TTestRoot(&owner);
  auto* second = new TTestRoot(&owner);
  ReadText(kFullForm, first);
  ReadText(kFullForm, second);
  EXPECT_EQ(first->Name(), "TestRoot");
  EXPECT_EQ(second->Name(), "TestRoot_1");
  // References to the root by its stored name still reach it.
  EXPECT_EQ(static_cast<TTestWidget*>(second->FindComponent("Widget2"))->Buddy, second);
}

TEST_F(Streaming, HandlersBoundByNameRunOnTheRoot) {
  TTestRoot root(nullptr);
  ReadText(kFullForm, &root);
  auto* w = root.Widget1;
  auto* w2 = static_cast<TTestWidget*>(root.FindComponent("Widget2"));
  ASSERT_TRUE(w->OnClick && w2->OnClick && w->OnQuery);
  w->OnClick(w);
  w2->OnClick(w2);
  EXPECT_EQ(root.Clicks, (std::vector<TObject*>{w, w2}));
  bool allow = true;
  w->OnQuery(w, allow);
  EXPECT_FALSE(allow);
  EXPECT_FALSE(w2->OnQuery);
}

TEST_F(Streaming, LoadedRunsAfterTheWholeTreeWithReferencesResolved) {
  TTestRoot root(nullptr);
  ReadText(kFullForm, &root);
  auto* w = root.Widget1;
  EXPECT_EQ(TTestWidget::LoadedLog(), (std::vector<std::string>{"Widget1", "Panel1", "Widget2"}));
  EXPECT_EQ(w->StateInReadState & (csLoading | csReading), unsigned{csLoading | csReading});
  EXPECT_EQ(w->StateInLoaded & (csLoading | csReading), unsigned{csLoading});
  EXPECT_NE(w->BuddyInLoaded, nullptr);  // Panel1 was read after Widget1
  for (TComponent* c : {static_cast<TComponent*>(&root), root.Components(0), root.Components(1), root.Components(2)})
    EXPECT_EQ(c->ComponentState() & (csLoading | csReading), 0u) << c->Name();
}

TEST_F(Streaming, TextsBeyondAsciiBecomeWideStrings) {
  struct Case {
    const char* literal;
    TValueType kind;
    const wchar_t* text;
  };
  const Case cases[] = {
      {"'plain'", vaString, L"plain"},
      {"'a''b'#13#10'c'", vaString, L"a'b\r\nc"},
      {"'D\xC3\xA9tails'", vaWString, L"D\u00e9tails"},                          // French
      {"'\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC'", vaWString,
       L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac"},                      // Greek
      {"'\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E'", vaWString, L"\u65e5\u672c\u8a9e"},  // Japanese
      {"'x'#$1F600", vaWString, L"x\xD83D\xDE00"},                                 // beyond 16 bits
      {"#233", vaWString, L"\u00e9"},
      {"'' + 'joined'", vaString, L"joined"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.literal);
    std::string text = std::string("object W: TTestWidget\n  Title = ") + c.literal + "\nend\n";
    TMemoryStream binary;
    ObjectTextToBinary(text, &binary, "wide.dfm");
    binary.SetPosition(0);
    TReader reader(&binary);
    reader.ReadSignature();
    unsigned flags;
    int pos;
    reader.ReadPrefix(flags, pos);
    EXPECT_EQ(reader.ReadStr(), "TTestWidget");
    EXPECT_EQ(reader.ReadStr(), "W");
    EXPECT_EQ(reader.ReadStr(), "Title");
    EXPECT_EQ(reader.NextValue(), c.kind);
    EXPECT_EQ(reader.ReadWideString(), c.text);
  }

  // An 8-bit text longer than 255 bytes is a long string.
  std::string longText = "object W: TTestWidget\n  Caption = '" + std::string(300, 'a') + "'\nend\n";
  TTestWidget w(nullptr);
  ReadComponentData(longText.data(), longText.size(), &w, "long.dfm");
  EXPECT_EQ(w.Caption, std::string(300, 'a'));
  TMemoryStream out;
  WriteComponent(&out, &w);
  EXPECT_NE(std::search(static_cast<const char*>(out.Memory()), static_cast<const char*>(out.Memory()) + out.Size(),
                        "Caption\x0C", "Caption\x0C" + 8),
            static_cast<const char*>(out.Memory()) + out.Size());
}

TEST_F(Streaming, UnknownNamesFailTheLoadNamingSourceComponentAndName) {
  struct Case {
    const char* body;
    bool classNotFound;
    const char* message;
    bool afterReading = false;  // found when references are fixed up: every component is whole
  };
  const Case cases[] = {
      {"object Widget1: TTestWidget\n Colour = 5\nend",
       false, "Error reading errors.dfm: Widget1.Colour: Property Colour does not exist"},
      {"object Widget1: TTestWidget\n Font.Nmae = 'x'\nend",
       false, "Error reading errors.dfm: Widget1.Font.Nmae: Property Nmae does not exist"},
      {"object Gadget9: TNoSuchGadget\nend",
       true, "Error reading errors.dfm: Gadget9: Class TNoSuchGadget not found"},
      {"object Widget1: TTestWidget\n OnClick = NoSuchClick\nend",
       false, "Error reading errors.dfm: Widget1.OnClick: Handler NoSuchClick not found in TTestRoot"},
      {"object Widget1: TTestWidget\n OnClick = WidgetQuery\nend",
       false, "Error reading errors.dfm: Widget1.OnClick: Handler WidgetQuery of TTestRoot does not have the "
              "parameters of event OnClick"},
      {"object Widget1: TTestWidget\n Buddy = Nobody\nend",
       false, "Error reading errors.dfm: Widget1.Buddy: Component Nobody not found", true},
      {"object Widget1: TTestWidget\n Align = taSideways\nend",
       false, "Error reading errors.dfm: Widget1.Align: Invalid property value taSideways"},
      {"object Widget1: TTestWidget\n Columns = <\n item\n Wdth = 3\n end>\nend",
       false, "Error reading errors.dfm: Widget1.Columns[0].Wdth: Property Wdth does not exist"},
      {"object Widget1: TTestWidget\n Count = 'many'\nend",
       false, "Error reading errors.dfm: Widget1.Count: Invalid property value"},
      {"inherited Ghost: TTestWidget\nend",
       false, "Error reading errors.dfm: Ghost: Ancestor for Ghost not found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    std::string text = std::string("object Root: TTestRoot\n") + c.body + "\n  object Later: TTestWidget\n  end\nend\n";
    TTestRoot root(nullptr);
    try {
      ReadText(text.c_str(), &root, "errors.dfm");
      ADD_FAILURE() << "no error";
    } catch (const EClassNotFound& e) {
      EXPECT_TRUE(c.classNotFound);
      EXPECT_EQ(e.Message, c.message);
    } catch (const EReadError& e) {
      EXPECT_FALSE(c.classNotFound);
      EXPECT_EQ(e.Message, c.message);
    }
    // The half-read component is gone and nothing is left loading.
    EXPECT_EQ(root.FindComponent("Later") != nullptr, c.afterReading);
    if (!c.afterReading) {
      EXPECT_EQ(root.ComponentCount(), 0);
      EXPECT_EQ(root.Widget1, nullptr);
    }
    EXPECT_EQ(root.ComponentState() & (csLoading | csReading), 0u);
    for (int i = 0; i < root.ComponentCount(); ++i)
      EXPECT_EQ(root.Components(i)->ComponentState() & (csLoading | csReading), 0u);
  }
}

TEST_F(Streaming, SyntaxErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"object A: TTestWidget\n  Caption 'x'\nend\n", "Error reading syntax.dfm(2): '=' expected but a string found"},
      {"object A: TTestWidget\n  Caption = 'x\nend\n", "Error reading syntax.dfm(2): Unterminated string"},
      {"object A: TTestWidget\n\n  Anchors = [akLeft akTop]\nend\n",
       "Error reading syntax.dfm(3): ',' expected but akTop found"},
      {"object A: TTestWidget\n  Caption = 'x'\n", "Error reading syntax.dfm(3): 'end' expected but end of text found"},
      {"object A: TTestWidget\n  Blob = {ABC}\nend\n", "Error reading syntax.dfm(2): Invalid binary data"},
      {"object A: TTestWidget\n  Caption = '\xC3('\nend\n", "Error reading syntax.dfm(2): Invalid UTF-8 text"},
      {"thing A: TTestWidget\nend\n", "Error reading syntax.dfm(1): 'object' expected but thing found"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TMemoryStream out;
    try {
      ObjectTextToBinary(c.text, &out, "syntax.dfm");
      ADD_FAILURE() << "no error";
    } catch (const EParserError& e) {
      EXPECT_EQ(e.Message, c.message);
    }
  }
}

TEST_F(Streaming, ReaderGivesBackWhatItReadAhead) {
  TTestWidget w(nullptr);
  w.SetName("W");
  w.Caption = "c";
  TMemoryStream s;
  WriteComponent(&s, &w);
  int64_t end = s.Size();
  s.WriteBuffer("tail", 4);
  s.SetPosition(0);
  TTestWidget copy(nullptr);
  ReadComponent(&s, &copy, "stream");
  EXPECT_EQ(copy.Caption, "c");
  EXPECT_EQ(s.Position(), end);
}

TEST_F(Streaming, DescendantWritesOnlyWhatDiffersFromItsAncestor) {
  TTestRoot ancestor(nullptr);
  ReadText(kFullForm, &ancestor);
  TTestRoot changed(nullptr);
  ReadText(kFullForm, &changed);
  changed.Widget1->Caption = "new caption";
  changed.Widget1->Lines.Add("third");
  auto* extra = new TTestWidget(&changed);
  extra->SetName("Extra1");
  extra->SetParentComponent(&changed);
  extra->Buddy = changed.Widget1;

  TMemoryStream delta;
  {
    TWriter writer(&delta);
    writer.WriteDescendent(&changed, &ancestor);
  }
  std::vector<uint8_t> deltaBytes = Bytes(delta);
  std::string deltaText(deltaBytes.begin(), deltaBytes.end());
  EXPECT_NE(deltaText.find("new caption"), std::string::npos);
  EXPECT_EQ(deltaText.find("Tahoma"), std::string::npos);  // unchanged values stay out
  EXPECT_EQ(deltaText.find("OnClick"), std::string::npos);
  EXPECT_LT(deltaBytes.size(), TextToBinary(kFullForm).size() / 2);

  // The ancestor's description and then the delta rebuild the changed tree.
  TTestRoot rebuilt(nullptr);
  ReadText(kFullForm, &rebuilt);
  delta.SetPosition(0);
  ReadComponent(&delta, &rebuilt, "delta");
  EXPECT_EQ(WriteBinary(&rebuilt), WriteBinary(&changed));
  EXPECT_EQ(static_cast<TTestWidget*>(rebuilt.FindComponent("Extra1"))->Buddy, rebuilt.Widget1);
}

TEST_F(Streaming, DescriptionsEmbeddedAsResourcesAreRead) {
  TDerivedResForm form(nullptr);
  ASSERT_TRUE(InitInheritedComponent(&form, TTestRoot::StaticClass()));
  EXPECT_EQ(form.Name(), "BaseResForm");
  EXPECT_EQ(form.Tag, 2);
  ASSERT_NE(form.Widget1, nullptr);
  EXPECT_EQ(form.Widget1->Caption, "changed by the descendant");
  EXPECT_EQ(form.Widget1->Title, L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u65e5\u672c\u8a9e");
  EXPECT_EQ(form.Widget1->Count, 3);
  form.Widget1->OnClick(form.Widget1);
  EXPECT_EQ(form.Clicks.size(), 1u);
  auto* w3 = dynamic_cast<TTestWidget*>(form.FindComponent("Widget3"));
  ASSERT_NE(w3, nullptr);
  EXPECT_EQ(w3->Buddy, form.Widget1);
  EXPECT_EQ(form.ComponentCount(), 2);

  TBaseResForm base(nullptr);
  ReadComponentRes("TBaseResForm", &base);
  EXPECT_EQ(base.Widget1->Caption, "from the base");

  // A class without a description of its own or of an ancestor below the given root.
  TTestRoot bare(nullptr);
  EXPECT_FALSE(InitInheritedComponent(&bare, TComponent::StaticClass()));
  try {
    ReadComponentRes("TNoSuchForm", &bare);
    ADD_FAILURE() << "no error";
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource TNoSuchForm not found");
  }

  // Errors in an embedded description name the text file it was made from.
  TBrokenResForm broken(nullptr);
  try {
    InitInheritedComponent(&broken, TTestRoot::StaticClass());
    ADD_FAILURE() << "no error";
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Error reading BrokenResForm.dfm: Widget1.Colour: Property Colour does not exist");
  }
}

TEST(ClassRegistry, RegistersByNameWithAncestors) {
  RegisterClass(TTestPanel::StaticClass());
  EXPECT_EQ(GetClass("ttestpanel"), TTestPanel::StaticClass());
  EXPECT_EQ(FindClass("TTestWidget"), TTestWidget::StaticClass());  // the ancestor came along
  EXPECT_EQ(GetClass("TPersistent"), nullptr);
  RegisterClass(TTestPanel::StaticClass());  // again: nothing happens

  // Another class under a registered name.
  struct TImpostor : TComponent {
    static const TMetaClass* Meta() {
      static const TMetaClass mc{"TTestPanel", TComponent::StaticClass(), nullptr, nullptr};
      return &mc;
    }
  };
  EXPECT_THROW(RegisterClass(TImpostor::Meta()), EFilerError);

  UnRegisterClass(TTestPanel::StaticClass());
  EXPECT_EQ(GetClass("TTestPanel"), nullptr);
  try {
    FindClass("TTestPanel");
    ADD_FAILURE() << "no error";
  } catch (const EClassNotFound& e) {
    EXPECT_STREQ(e.what(), "Class TTestPanel not found");
  }
  RegisterTestClasses();
}
