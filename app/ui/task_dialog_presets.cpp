#include "app/ui/task_dialog_presets.h"

#include "widetext/filenames.h"

namespace {

// Every preset starts from an empty dialog: its own buttons, the first one the default,
// and no text of an earlier question left behind.
void Reset(TUniTaskDialog* d, const wchar_t* title, TTaskDialogIcon icon) {
  d->CustomButtons()->Clear();
  d->DefaultButton = 100;
  d->Title = title;
  d->Icon = icon;
  d->SetInstruction(L"");
  d->SetContent(L"");
  d->SetExpandedText(L"");
  d->SetFooter(L"");
  d->ExpandControlText.clear();
  d->CollapsControlText.clear();
  d->VerificationText.clear();
}

void YesNo(TUniTaskDialog* d, const TNamedTexts& t) {
  d->CustomButtons()->Add(t.btYes);
  d->CustomButtons()->Add(t.btNo);
}

void Ok(TUniTaskDialog* d) { d->CustomButtons()->Add(L"&Ok"); }

}  // namespace

void ShowOverwriteQuestion(TUniTaskDialog* Dialog, const WideString& FileName, const TNamedTexts& Texts) {
  Reset(Dialog, L"Overwriting", tiQuestion);
  YesNo(Dialog, Texts);
  // The translated text is taken as it stands: a "%" in it is no placeholder.
  Dialog->SetInstruction(Texts.MsgOverwriteOrNot + L" " + WideExtractFileName(FileName) + L" ?");
  Dialog->SetExpandedText(Texts.OverwriteMsgExp);
  Dialog->ExpandControlText = Texts.ClickToHideMsg;
  Dialog->CollapsControlText = Texts.ClickToSeeMoreMsg;
}

void ShowOverwriteQuestion(TUniTaskDialog* Dialog, const std::vector<WideString>& FileNames,
                           const TNamedTexts& Texts) {
  if (FileNames.size() == 1) return ShowOverwriteQuestion(Dialog, FileNames.front(), Texts);
  ShowOverwriteQuestion(Dialog, WideString(), Texts);
  Dialog->SetInstruction(Texts.MsgOverwriteThese);
  WideString list;
  for (const WideString& name : FileNames) list += (list.empty() ? L"" : L"\n") + name;
  Dialog->SetContent(list);
}

void ShowMP4BoxPathNotice(TUniTaskDialog* Dialog, const TNamedTexts& Texts) {
  Reset(Dialog, L"Information", tiInformation);
  Ok(Dialog);
  Dialog->SetInstruction(Texts.Msg41);
  Dialog->SetContent(Texts.Msg4);
}

int ShowTextNotice(TUniTaskDialog* Dialog, const WideString& Text, const TNamedTexts& Texts) {
  Reset(Dialog, L"Information", tiInformation);
  Ok(Dialog);
  Dialog->SetInstruction(Texts.MsgNotifying);
  Dialog->SetContent(Text);
  return Dialog->Execute();
}

void ShowDeleteQuestion(TUniTaskDialog* Dialog, const TNamedTexts& Texts) {
  Reset(Dialog, L"Delete", tiWarning);
  YesNo(Dialog, Texts);
  Dialog->SetInstruction(Texts.Msg1);
}

int ShowCompatibilityNotice(TUniTaskDialog* Dialog, int Kind, const TNamedTexts& Texts) {
  Reset(Dialog, L"Information", tiInformation);
  Ok(Dialog);
  Dialog->SetInstruction(Texts.MsgNotifying);
  Dialog->SetContent(Kind == 0   ? Texts.Msgx264VFWCompatiblity
                     : Kind == 1 ? Texts.MsgNotCompatible1
                                 : Texts.MsgNotCompatible2);
  return Dialog->Execute();
}

int ShowProcessRunningNotice(TUniTaskDialog* Dialog, const TNamedTexts& Texts) {
  Reset(Dialog, L"Information", tiInformation);
  Ok(Dialog);
  Dialog->SetInstruction(Texts.ProcessIsRunningMsg);
  return Dialog->Execute();
}

void ShowRawAVCNotice(TUniTaskDialog* Dialog, const TNamedTexts& Texts) {
  Reset(Dialog, L"Information", tiInformation);
  Ok(Dialog);
  Dialog->SetInstruction(Texts.MsgNotifying);
  Dialog->SetContent(Texts.rawAVCMsg);
}
