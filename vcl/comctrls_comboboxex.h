// The extended combo box (ComboBoxEx32): a combo box whose items carry a picture from an
// image list beside their text. The items are a collection (ItemsEx), stored with the
// control and given to each window it makes; ItemIndex outlives a new window too.
#pragma once

#include <memory>

#include "vcl/actions.h"
#include "vcl/collections.h"
#include "vcl/controls.h"
#include "vcl/imglist.h"

enum TComboBoxExStyle { csExDropDown, csExSimple, csExDropDownList };
VCL_ENUM_INFO(TComboBoxExStyle, "csExDropDown", "csExSimple", "csExDropDownList")

class TCustomComboBoxEx;

class TComboExItem : public TCollectionItem {
  VCL_CLASS(TComboExItem)
 public:
  explicit TComboExItem(TCollection* Collection) : TCollectionItem(Collection) {}

  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  // The item's picture in the control's Images (-1: none).
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // The object the item carries (AddItem's).
  TObject* Data = nullptr;

  void Assign(TPersistent* Source) override;

 protected:
  AnsiString GetDisplayName() const override;

 private:
  AnsiString FCaption;
  int FImageIndex = -1;
};

class TComboExItems : public TCollection {
  VCL_CLASS(TComboExItems)
 public:
  explicit TComboExItems(TCustomComboBoxEx* AOwner);

  TComboExItem* Add() { return static_cast<TComboExItem*>(TCollection::Add()); }
  TComboExItem* AddItem(const AnsiString& Caption, int ImageIndex = -1, TObject* Data = nullptr);
  TComboExItem* Items(int Index) const { return static_cast<TComboExItem*>(TCollection::Items(Index)); }
  TPersistent* GetOwner() override;

 protected:
  void Update(TCollectionItem* Item) override;

 private:
  TCustomComboBoxEx* FOwner;
};

// The action link of an extended combo box.
class TComboBoxExActionLink : public TWinControlActionLink {
  VCL_CLASS(TComboBoxExActionLink)
 public:
  explicit TComboBoxExActionLink(TCustomComboBoxEx* AClient);
};

class TCustomComboBoxEx : public TCustomListControl {
  VCL_CLASS(TCustomComboBoxEx)
  friend class TComboExItems;

 public:
  explicit TCustomComboBoxEx(TComponent* AOwner);
  ~TCustomComboBoxEx() override;
  void Dispatch(TMessage& Message) override;

  TComboExItems* ItemsEx() const { return FItemsEx.get(); }
  void SetItemsEx(TComboExItems* Value) { FItemsEx->Assign(Value); }
  void AddItem(const AnsiString& Item, TObject* AObject) override;
  // The selected item (-1: none); kept while there is no window.
  int ItemIndex() const;
  void SetItemIndex(int Value);
  TComboBoxExStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxExStyle Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // Rows the dropped-down list has room for.
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value) { FDropDownCount = Value; }

  // The text changed: typed in the edit part, or another item chosen.
  TNotifyEvent OnChange;
  // The user chose an item.
  TNotifyEvent OnSelect;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  TControlActionLink* CreateActionLink() override;
  virtual void Change();
  virtual void Select();

 private:
  // Gives the window the items again (keeping the selection where it can).
  void FillWindow();
  void ApplyImages();
  void CNCommand(TMessage& Message);

  std::unique_ptr<TComboExItems> FItemsEx;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TCustomImageList* FImages = nullptr;
  TComboBoxExStyle FStyle = csExDropDown;
  int FDropDownCount = 8;
  mutable int FItemIndex = -1;
};

class TComboBoxEx : public TCustomComboBoxEx {
  VCL_CLASS(TComboBoxEx)
 public:
  using TCustomComboBoxEx::TCustomComboBoxEx;
};

// Registers TComboBoxEx for stored descriptions.
void RegisterComboBoxExControl();
