// The data provider framework: extensions and interface queries, item IDs and paths,
// searches, list management with its notices, renderers, contexts, the consumer's provider
// and context rules, item selection, the announcement, and streaming of items.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

#include "data_provider_fixture.h"
#include "wizard/data_item_images.h"
#include "vcl/formtext.h"
#include "vcl/graphics.h"
#include "vcl/pictures.h"
#include "vcl/streams.h"

namespace {

template <class E, class F>
std::string MessageOf(F f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message;
  }
  return "<no exception>";
}

// An item extension that answers the extension hook: it counts notices and may refuse
// deletion.
class THookExtension : public TKvDataItemAggregatedObject, public IKvDataItemExtension {
  VCL_CLASS(THookExtension)
 public:
  THookExtension(TKvBaseDataItem* Item, bool Allow) : TKvDataItemAggregatedObject(Item), FAllow(Allow) {}
  KV_FORWARD_AGGREGATED_IUNKNOWN(TKvDataItemAggregatedObject)
  bool GetOwnInterface(REFIID iid, void** obj) override {
    if (iid != __uuidof(IKvDataItemExtension)) return false;
    *obj = static_cast<IKvDataItemExtension*>(this);
    return true;
  }
  void STDMETHODCALLTYPE ItemNotify() override { ++Notices; }
  bool STDMETHODCALLTYPE ItemCanDelete() override { return FAllow; }
  int Notices = 0;

 private:
  bool FAllow;
};

VCL_CLASS_IMPL(THookExtension, TKvDataItemAggregatedObject, nullptr, nullptr)

class TLockedItem : public TKvBaseDataItem {
 public:
  using TKvBaseDataItem::TKvBaseDataItem;
  bool STDMETHODCALLTYPE IsDeletable() override { return false; }
};

TEST(DataItems, ExtensionsAnswerQueriesAndRefuseASecondOfTheirClass) {
  TTestProvider provider;
  IKvDataItem* item = AddItem(provider.Items(), "one");
  auto* object = static_cast<TKvBaseDataItem*>(item->GetImplementer());

  // The item answers for its extensions, and an extension answers for its item.
  auto* text = KvQuery<IKvDataItemText>(item);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(KvQuery<IKvDataItem>(text), item);
  EXPECT_NE(KvQuery<IKvDataItemImage>(text), nullptr);

  EXPECT_EQ(MessageOf<EKVCLException>([&] { KvCreate<TKvDataItemTextImpl>(object); }),
            "Implementation of that class already exists");
  EXPECT_EQ(object->ExtensionCount(), 2);

  // The hook is answered by extensions only: never by the item on their behalf.
  EXPECT_EQ(KvQuery<IKvDataItemExtension>(text), nullptr);
  EXPECT_TRUE(object->ExtensionsAllowDelete());
  auto* hook = KvCreate<THookExtension>(object, false);
  EXPECT_EQ(KvQuery<IKvDataItemExtension>(text), nullptr);
  object->NotifyExtensions();
  EXPECT_EQ(hook->Notices, 1);
  EXPECT_FALSE(object->ExtensionsAllowDelete());
  object->RemoveExtension(hook);
  EXPECT_TRUE(object->ExtensionsAllowDelete());
}

TEST(DataItems, IDsAreNewGuidsInHex) {
  TTestProvider provider;
  AnsiString a = AddItem(provider.Items(), "a")->GetID();
  AnsiString b = AddItem(provider.Items(), "b")->GetID();
  ASSERT_EQ(a.size(), 32u);
  for (char c : a) EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F')) << a;
  EXPECT_NE(a, b);
}

TEST(DataItems, PathsSplitAtEitherSeparator) {
  struct Case {
    const char* Path;
    bool FromRoot;
    std::vector<AnsiString> Segments;
  };
  const Case cases[] = {
      {"", false, {}},
      {"a", false, {"a"}},
      {"a\\b/c", false, {"a", "b", "c"}},
      {"/a/..", true, {"a", ".."}},
      {"\\a\\", true, {"a"}},
  };
  for (const Case& c : cases) {
    bool fromRoot = !c.FromRoot;
    EXPECT_EQ(SplitKvPath(c.Path, fromRoot), c.Segments) << c.Path;
    EXPECT_EQ(fromRoot, c.FromRoot) << c.Path;
  }
}

TEST(DataItems, ItemsAreFoundByPathAndByID) {
  TTestProvider provider;
  IKvDataItems* root = provider.Items();
  IKvDataItem* music = AddItem(root, "music");
  IKvDataItem* films = AddItem(root, "films");
  IKvDataItem* rock = AddItem(ChildList(music), "rock");
  IKvDataItem* live = AddItem(ChildList(rock), "live");
  auto* object = static_cast<TKvBaseDataItem*>(films->GetImplementer());
  object->SetID("SHARED");
  static_cast<TKvBaseDataItem*>(live->GetImplementer())->SetID("shared");

  AnsiString musicID = music->GetID(), rockID = rock->GetID();
  std::transform(rockID.begin(), rockID.end(), rockID.begin(), ::tolower);
  EXPECT_EQ(root->ItemByPath(musicID + "\\" + rockID), rock);
  EXPECT_EQ(root->ItemByPath(musicID + "/" + rockID + "/shared"), live);
  IKvDataItems* rockList = KvSubItems(rock);
  EXPECT_EQ(rockList->ItemByPath("..\\" + rock->GetID()), rock);
  EXPECT_EQ(rockList->ItemByPath("/SHARED"), films);
  EXPECT_EQ(root->ItemByPath("nothing"), nullptr);

  // Depth first, last item first: "films" (last at the top) wins over the deeper "live".
  auto* search = KvQuery<IKvDataItemsSearch>(root);
  EXPECT_EQ(search->FindItemID("shared", true), films);
  EXPECT_EQ(search->FindItemID(live->GetID(), false), films);
  object->SetID("other");
  EXPECT_EQ(search->FindItemID("shared", true), live);
  EXPECT_EQ(search->FindItemID("shared", false), nullptr);

  EXPECT_TRUE(static_cast<IKvDataItem*>(music)->IsParentOf(live, false));
  EXPECT_FALSE(music->IsParentOf(live, true));
  EXPECT_TRUE(rock->IsParentOf(live, true));
  EXPECT_EQ(live->GetIndex(), 0);
  EXPECT_EQ(films->GetIndex(), 1);
}

TEST(DataItems, ManagementAnnouncesEveryChange) {
  TTestProvider provider;
  IKvDataItems* root = provider.Items();
  auto* manage = KvQuery<IKvDataItemsManagement>(root);
  IKvDataItem* first = AddItem(root, "first");
  AddItem(root, "second");
  KvQuery<IKvDataItemImage>(first)->SetImageIndex(4);
  provider.Log.clear();

  KvQuery<IKvDataItemText>(first)->SetCaption("renamed");
  KvQuery<IKvDataItemText>(first)->SetCaption("renamed");  // unchanged: no notice
  manage->Delete(0);
  manage->Clear();
  EXPECT_EQ(provider.Log, (std::vector<std::string>{"changing 2", "changed 2", "changing 1", "changed 1",
                                                      "changing 3", "changed 3"}));
  EXPECT_EQ(root->GetCount(), 0);

  auto* locked = KvCreate<TLockedItem>(static_cast<TKvDataItemsList*>(root));
  manage->Add(locked);
  EXPECT_EQ(MessageOf<EKVCLDataItems>([&] { manage->Delete(0); }), "Item cannot be deleted");
  EXPECT_EQ(MessageOf<EKVCLDataItems>([&] { manage->Remove(locked); }), "Item cannot be deleted");
  EXPECT_EQ(root->GetCount(), 1);
}

TEST(DataItems, TheTextRendererDrawsCaptionsAndChecksIndexes) {
  TTestProvider provider;
  IKvDataItems* root = provider.Items();
  AddItem(root, "Wide caption");
  auto* bare = KvCreate<TKvBaseDataItem>(static_cast<TKvDataItemsList*>(root));
  KvQuery<IKvDataItemsManagement>(root)->Add(bare);

  auto* renderer = KvQuery<IKvDataItemsRenderer>(root);
  TBitmap bitmap;
  bitmap.SetSize(400, 20);
  TCanvas* canvas = bitmap.Canvas();
  EXPECT_EQ(renderer->MeasureItemIdx(0, canvas).cx, canvas->TextExtent("Wide caption").cx);
  EXPECT_EQ(renderer->MeasureItemIdx(1, canvas).cx,
            canvas->TextExtent("(item does not support the IKvDataItemText interface)").cx);
  EXPECT_EQ(renderer->MeasureItemIdx(-1, canvas).cx, canvas->TextExtent("WyWyWyWyWyWyWyWyWyWy").cx);
  EXPECT_EQ(MessageOf<EKVCLDataItems>([&] { renderer->MeasureItemIdx(5, canvas); }), "List index out of bounds (5)");
  EXPECT_EQ(MessageOf<EKVCLDataItems>([&] { renderer->DrawItemIdx(-1, canvas, RECT{0, 0, 400, 20}); }),
            "List index out of bounds (-1)");

  // Drawing puts the caption's pixels into the rectangle.
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(RECT{0, 0, 400, 20});
  canvas->Font()->SetColor(clBlack);
  renderer->DrawItemIdx(0, canvas, RECT{0, 0, 400, 20});
  int dark = 0;
  for (int x = 0; x < 100; ++x)
    for (int y = 0; y < 20; ++y) dark += GetPixel(canvas->Handle(), x, y) == RGB(0, 0, 0);
  EXPECT_GT(dark, 20);
}

TEST(DataItems, InterfaceIdentifiers) {
  auto text = [](const GUID& g) {
    wchar_t buffer[40];
    StringFromGUID2(g, buffer, 40);
    return std::wstring(buffer);
  };
  EXPECT_EQ(text(__uuidof(IKvDataItem)), L"{C965CF64-A1F2-44A4-B856-3A4EC6B693E1}");
  EXPECT_EQ(text(__uuidof(IKvDataItems)), L"{93747660-24FB-4294-BF4E-C7F88EA23983}");
  EXPECT_EQ(text(__uuidof(IKvDataItemText)), L"{94FA56D9-281B-4252-B46D-15E7BADA70DA}");
  EXPECT_EQ(text(__uuidof(IKvDataItemsImages)), L"{735755A6-AD11-460C-B985-46464D73EDBC}");
  EXPECT_EQ(text(__uuidof(IKvDataProvider)), L"{62A7A17D-1E21-427E-861D-C92FBB9B09A6}");
  EXPECT_EQ(text(__uuidof(IKvDataConsumerViewList)), L"{F3A78F68-D998-4877-8C73-1E0D2987808D}");
}

TEST(DataItems, ImageListsAreForgottenWhenFreed) {
  TTestProvider provider;
  auto* images = KvCreate<TKvCustomDataItemsImages>(provider.Items());
  auto* lists = KvQuery<IKvDataItemsImages>(static_cast<IKvDataItems*>(provider.Items()));
  ASSERT_EQ(lists, static_cast<IKvDataItemsImages*>(images));
  auto* large = new TImageList(nullptr);
  TImageList hot(nullptr);
  lists->SetImages(large);
  lists->SetHotImages(&hot);
  EXPECT_EQ(lists->GetImages(), large);
  delete large;
  EXPECT_EQ(lists->GetImages(), nullptr);
  EXPECT_EQ(lists->GetHotImages(), &hot);
  lists->SetHotImages(nullptr);
  EXPECT_EQ(lists->GetHotImages(), nullptr);
}

TEST(DataContexts, NamesAreUniquePerListAndFoundByPath) {
  TTestProvider provider(true);
  TKvDataContexts* contexts = provider.Contexts();
  provider.Log.clear();
  IKvDataContext* all = provider.AddContext("All");
  EXPECT_EQ(provider.Log, (std::vector<std::string>{"changing 5", "changed 5"}));
  EXPECT_EQ(MessageOf<EKVCLDataContexts>([&] { provider.AddContext("ALL"); }),
            "A context with that name already exists");
  EXPECT_EQ(contexts->GetCount(), 1);
  EXPECT_EQ(MessageOf<EKVCLDataContexts>([&] { KvCreate<TKvDataContext>(nullptr, "x"); }),
            "Cannot create a context without a context list owner");

  auto* managed = KvCreate<TKvManagedDataContext>(contexts, "Recent");
  auto* rename = KvQuery<IKvDataContextManaged>(static_cast<IKvDataContext*>(managed));
  ASSERT_NE(rename, nullptr);
  EXPECT_EQ(MessageOf<EKVCLDataContexts>([&] { rename->SetName("all"); }),
            "A context with that name already exists");
  rename->SetName("RECENT");
  EXPECT_EQ(managed->Name(), "RECENT");
  EXPECT_EQ(KvQuery<IKvDataContextManaged>(all), nullptr);

  auto* nested = KvCreate<TKvFixedDataContext>(static_cast<TKvBaseDataContext*>(all->GetImplementer())->SubContexts(),
                                               "Albums");
  EXPECT_EQ(contexts->GetContextByName("all"), all);
  EXPECT_EQ(contexts->GetContextByName("All\\albums"), nested);
  EXPECT_EQ(nested->Owner()->GetContextByName("..\\recent"), managed);
  EXPECT_EQ(nested->Owner()->GetContextByName("/All/Albums"), nested);
  EXPECT_EQ(contexts->GetContextByName("Missing"), nullptr);
}

TEST(DataConsumer, ProviderAndContextRules) {
  TTestProvider plain;
  TTestProvider provider(true);
  IKvDataContext* first = provider.AddContext("First");
  IKvDataContext* second = provider.AddContext("Second");
  TKvDataConsumer consumer(nullptr);
  std::vector<TKvDataConsumerChangeReason> changes;
  consumer.OnChanged = [&](TObject*, TKvDataConsumerChangeReason r) { changes.push_back(r); };

  EXPECT_EQ(MessageOf<EKVCLDataConsumer>([&] { consumer.SetContext("First"); }),
            "You must specify a provider before setting the context");
  consumer.SetProvider(&provider);
  EXPECT_EQ(consumer.ContextIntf(), first);  // the first context when none was asked for
  EXPECT_FALSE(consumer.IsContextStored());
  consumer.SetContext("second");
  EXPECT_EQ(consumer.ContextIntf(), second);
  EXPECT_TRUE(consumer.IsContextStored());
  EXPECT_EQ(MessageOf<EKVCLDataConsumer>([&] { consumer.SetContext("Third"); }),
            "Provider has no context named \"Third\"");
  TTestProvider other(true);
  IKvDataContext* foreign = other.AddContext("Foreign");
  EXPECT_EQ(MessageOf<EKVCLDataConsumer>([&] { consumer.SetContextIntf(foreign); }),
            "The specified context is not part of the same provider");
  consumer.SetContext("");
  EXPECT_EQ(consumer.ContextIntf(), nullptr);
  EXPECT_EQ(changes, (std::vector<TKvDataConsumerChangeReason>{ccrProviderSelect, ccrContextSelect, ccrContextSelect}));

  consumer.SetProvider(&plain);
  EXPECT_EQ(consumer.ContextIntf(), nullptr);
  EXPECT_EQ(MessageOf<EKVCLDataConsumer>([&] { consumer.SetContext("First"); }),
            "Provider does not support contexts");
  EXPECT_EQ(plain.Notifies.size(), 1u);
  EXPECT_TRUE(provider.Notifies.empty());
}

TEST(DataConsumer, AContextNamedWhileLoadingIsAppliedAfterwards) {
  TTestProvider provider(true);
  provider.AddContext("First");
  IKvDataContext* second = provider.AddContext("Second");
  TComponent holder(nullptr);
  TKvDataConsumer consumer(&holder);
  holder.SetLoadingState(true);
  consumer.SetContext("Second");  // before the provider reference is resolved
  consumer.SetProvider(&provider);
  EXPECT_EQ(consumer.Context(), "Second");
  holder.SetLoadingState(false);
  consumer.Loaded();
  EXPECT_EQ(consumer.ContextIntf(), second);
}

TEST(DataConsumer, TheProviderGoingAwayIsDropped) {
  TKvDataConsumer consumer(nullptr);
  {
    TTestProvider provider;
    consumer.SetProvider(&provider);
  }
  EXPECT_EQ(consumer.Provider(), nullptr);
}

TEST(DataConsumer, AnnouncementSelectsConsumerThenContextAndUndoesOnFailure) {
  TTestProvider provider(true);
  IKvDataContext* context = provider.AddContext("Only");
  TKvDataConsumer consumer(nullptr);
  consumer.SetProvider(&provider);
  provider.Log.clear();

  consumer.Enter();
  EXPECT_EQ(provider.CurrentConsumer(), static_cast<IKvDataConsumer*>(&consumer));
  EXPECT_EQ(provider.CurrentContext(), context);
  consumer.Leave();
  EXPECT_EQ(provider.Log, (std::vector<std::string>{"select consumer", "select context", "release consumer",
                                                      "release context"}));

  provider.FailSelectContext = true;
  EXPECT_THROW(consumer.Enter(), EKVCLException);
  EXPECT_EQ(provider.CurrentConsumer(), nullptr);
  provider.FailSelectContext = false;

  consumer.Enter();
  provider.FailReleaseContext = true;
  EXPECT_THROW(consumer.Leave(), EKVCLException);
  EXPECT_EQ(provider.CurrentConsumer(), static_cast<IKvDataConsumer*>(&consumer));
}

TEST(DataConsumer, ItemSelection) {
  TTestProvider provider;
  provider.ServiceClasses = {TKvDataConsumerItemSelect::StaticClass()};
  IKvDataItem* music = AddItem(provider.Items(), "music");
  IKvDataItem* rock = AddItem(ChildList(music), "rock");
  AddItem(provider.Items(), "films");

  TKvDataConsumer consumer(nullptr);
  consumer.SetProvider(&provider);
  auto* select = consumer.FindService<TKvDataConsumerItemSelect>();
  ASSERT_NE(select, nullptr);
  EXPECT_EQ(MessageOf<EKVCLDataConsumer>([&] { select->SetItemID("nothing"); }),
            "Item not found in the selected context");
  select->SetItemID(rock->GetID());
  EXPECT_EQ(select->GetItem(), rock);

  // Deleting a parent of the selected item drops the selection.
  KvQuery<IKvDataItemsManagement>(static_cast<IKvDataItems*>(provider.Items()))->Remove(music);
  EXPECT_EQ(select->ItemID(), "");

  TKvDataConsumer lonely(nullptr);
  auto* lonelySelect = KvCreate<TKvDataConsumerItemSelect>(&lonely);
  EXPECT_EQ(MessageOf<EKVCLDataConsumer>([&] { lonelySelect->SetItemID("x"); }),
            "You must specify a provider before setting the item");
}

// --- Streaming -------------------------------------------------------------------------------

// A component holding a root item list as a stored sub-object.
class TItemsHolder : public TComponent, public IKvDataProvider {
  VCL_CLASS(TItemsHolder)
 public:
  explicit TItemsHolder(TComponent* Owner) : TComponent(Owner) {
    RegisterDataProviderClasses();
    FData = KvCreate<TKvDataItemsList>(static_cast<IKvDataProvider*>(this));
    FData->AddRef();
    KvCreate<TKvBaseDataItemsListManagement>(FData);
  }
  ~TItemsHolder() override { FData->Release(); }
  TKvDataItemsList* Data() const { return FData; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** obj) override {
    *obj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  void STDMETHODCALLTYPE RegisterChangeNotify(IKvDataChangeNotify*) override {}
  void STDMETHODCALLTYPE UnregisterChangeNotify(IKvDataChangeNotify*) override {}
  void STDMETHODCALLTYPE SelectConsumer(IKvDataConsumer*) override {}
  IKvDataConsumer* STDMETHODCALLTYPE CurrentConsumer() override { return nullptr; }
  void STDMETHODCALLTYPE ReleaseConsumer() override {}
  void STDMETHODCALLTYPE SelectContext(IKvDataContext*) override {}
  IKvDataContext* STDMETHODCALLTYPE CurrentContext() override { return nullptr; }
  void STDMETHODCALLTYPE ReleaseContext() override {}
  void STDMETHODCALLTYPE Changing(TKvDataProviderChangeReason, IUnknown*) override {}
  void STDMETHODCALLTYPE Changed(TKvDataProviderChangeReason, IUnknown*) override {}
  void STDMETHODCALLTYPE GetServiceClasses(std::vector<const TMetaClass*>&) override {}

 private:
  TKvDataItemsList* FData;
};

const std::vector<TPropInfo>& ItemsHolderProperties() {
  static const std::vector<TPropInfo> table =
      TPropertyTable<TItemsHolder>().Property("Data", &TItemsHolder::Data, nullptr).Table();
  return table;
}
VCL_CLASS_IMPL(TItemsHolder, TComponent, &CreateComponentOf<TItemsHolder>, &ItemsHolderProperties)

std::vector<uint8_t> Written(TComponent* Root) {
  TMemoryStream stream;
  WriteComponent(&stream, Root);
  const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  return std::vector<uint8_t>(bytes, bytes + stream.Size());
}

void ReadText(TComponent* Root, const char* Text) {
  RegisterClass(TItemsHolder::StaticClass());
  ReadComponentData(Text, std::strlen(Text), Root, "items.dfm");
}

TEST(DataStreaming, ItemsWithExtensionsAndSubItemsRoundTrip) {
  TItemsHolder source(nullptr);
  source.SetName("Holder");
  IKvDataItem* music = AddItem(source.Data(), "Music");
  KvQuery<IKvDataItemImage>(music)->SetImageIndex(3);
  KvQuery<IKvDataItemImage>(music)->SetAlignment(taCenter);
  IKvDataItem* rock = AddItem(ChildList(music), "Rock");
  AddItem(ChildList(rock), "Live");
  AddItem(source.Data(), "Films");

  std::vector<uint8_t> bytes = Written(&source);
  TItemsHolder copy(nullptr);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream.SetPosition(0);
  RegisterClass(TItemsHolder::StaticClass());
  ReadComponent(&stream, &copy, "copy");

  TKvDataItemsList* data = copy.Data();
  ASSERT_EQ(data->GetCount(), 2);
  IKvDataItem* music2 = data->GetItem(0);
  EXPECT_EQ(music2->GetID(), music->GetID());
  EXPECT_EQ(CaptionOf(music2), "Music");
  EXPECT_EQ(KvQuery<IKvDataItemImage>(music2)->GetImageIndex(), 3);
  EXPECT_EQ(KvQuery<IKvDataItemImage>(music2)->GetAlignment(), taCenter);
  IKvDataItems* sub = KvSubItems(music2);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->GetParent(), music2);
  ASSERT_EQ(sub->GetCount(), 1);
  EXPECT_EQ(CaptionOf(sub->GetItem(0)), "Rock");
  EXPECT_EQ(CaptionOf(KvSubItems(sub->GetItem(0))->GetItem(0)), "Live");
  EXPECT_EQ(CaptionOf(data->GetItem(1)), "Films");
  EXPECT_EQ(KvSubItems(data->GetItem(1)), nullptr);
  EXPECT_EQ(Written(&copy), bytes);
}

TEST(DataStreaming, StoredItemsAreReadFromText) {
  TItemsHolder holder(nullptr);
  ReadText(&holder, R"(object Holder: TItemsHolder
  Data.Items = <
    item
      ClassName = 'TKvBaseDataItem'
      ID = 'A1'
      Extensions = <
        item
          ClassName = 'TKvDataItemTextImpl'
          Caption = 'Stored'
        end>
      SubItems = <
        item
          ClassName = 'TKvDataItemsList'
          Items = <
            item
              ClassName = 'TKvBaseDataItem'
              ID = 'B2'
            end>
        end>
    end>
end
)");
  TKvDataItemsList* data = holder.Data();
  ASSERT_EQ(data->GetCount(), 1);
  EXPECT_EQ(data->GetItem(0)->GetID(), "A1");
  EXPECT_EQ(CaptionOf(data->GetItem(0)), "Stored");
  EXPECT_EQ(data->ItemByPath("a1/b2")->GetID(), "B2");
}

TEST(DataStreaming, MalformedEntriesAreRefused) {
  struct Case {
    const char* Body;
    const char* Message;
  };
  const Case cases[] = {
      {"  Data.Items = 'plain'\n", "Expected collection"},
      {"  Data.Items = <\n    item\n      ID = 'x'\n    end>\n", "Missing ClassName property"},
      {"  Data.Items = <\n    item\n      ClassName = 'TKvDataItemTextImpl'\n    end>\n", "Invalid class type"},
      {"  Data.Items = <\n    item\n      ClassName = 'TKvBaseDataItem'\n      Extensions = <\n        item\n"
       "          ClassName = 'TKvDataItemsList'\n        end>\n    end>\n",
       "Invalid class type"},
      {"  Data.Items = <\n    item\n      ClassName = 'TKvBaseDataItem'\n      SubItems = <\n        item\n"
       "          ClassName = 'TKvBaseDataItem'\n        end>\n    end>\n",
       "Invalid class type"},
  };
  for (const Case& c : cases) {
    TItemsHolder holder(nullptr);
    std::string text = std::string("object Holder: TItemsHolder\n") + c.Body + "end\n";
    std::string message = MessageOf<EReadError>([&] { ReadText(&holder, text.c_str()); });
    EXPECT_NE(message.find(c.Message), std::string::npos) << c.Body << "\n -> " << message;
  }
  TItemsHolder holder(nullptr);
  EXPECT_THROW(ReadText(&holder, "object Holder: TItemsHolder\n  Data.Items = <\n    item\n"
                                 "      ClassName = 'TNoSuchClass'\n    end>\nend\n"),
               EClassNotFound);
}

}  // namespace
