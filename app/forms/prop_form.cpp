#include "app/forms/prop_form.h"

#include "app/forms/main_form.h"

TPropForm* PropForm = nullptr;

namespace {

const TClassMembers& Members() {
  static const TClassMembers members = AddPropFormHandlers(TMemberTable<TPropForm>()
      .Field("FontDialog", &TPropForm::FontDialog)
      .Field("OpenPictureDialog", &TPropForm::OpenPictureDialog)
      .Field("PageControl1", &TPropForm::PageControl1)
      .Field("Tab1", &TPropForm::Tab1)
      .Field("gbSource", &TPropForm::gbSource)
      .Field("lbFile1", &TPropForm::lbFile1)
      .Field("lbType1", &TPropForm::lbType1)
      .Field("lbInfo1", &TPropForm::lbInfo1)
      .Field("spbt1", &TPropForm::spbt1)
      .Field("dpbt2", &TPropForm::dpbt2)
      .Field("gbProperties", &TPropForm::gbProperties)
      .Field("lbLangP", &TPropForm::lbLangP)
      .Field("lbBrand", &TPropForm::lbBrand)
      .Field("lbTrackName", &TPropForm::lbTrackName)
      .Field("lbPAR", &TPropForm::lbPAR)
      .Field("lbSBR", &TPropForm::lbSBR)
      .Field("lbCopyright", &TPropForm::lbCopyright)
      .Field("cbLang", &TPropForm::cbLang)
      .Field("cbBrand", &TPropForm::cbBrand)
      .Field("cbTrack", &TPropForm::cbTrack)
      .Field("cbPAR", &TPropForm::cbPAR)
      .Field("cbSBR", &TPropForm::cbSBR)
      .Field("edCopyright", &TPropForm::edCopyright)
      .Field("lbFrameRateP", &TPropForm::lbFrameRateP)
      .Field("edFrameRate", &TPropForm::edFrameRate)
      .Field("lbDelay", &TPropForm::lbDelay)
      .Field("edDelay", &TPropForm::edDelay)
      .Field("lbInterleave", &TPropForm::lbInterleave)
      .Field("edInterleave", &TPropForm::edInterleave)
      .Field("chKeepNVop", &TPropForm::chKeepNVop)
      .Field("edFontName", &TPropForm::edFontName)
      .Field("edFontSize", &TPropForm::edFontSize)
      .Field("btFont", &TPropForm::btFont)
      .Field("Tab2", &TPropForm::Tab2)
      .Field("gbTags", &TPropForm::gbTags)
      .Field("lbName", &TPropForm::lbName)
      .Field("edName", &TPropForm::edName)
      .Field("lbArtist", &TPropForm::lbArtist)
      .Field("edArtist", &TPropForm::edArtist)
      .Field("lbWriter", &TPropForm::lbWriter)
      .Field("edWriter", &TPropForm::edWriter)
      .Field("lbAlbum", &TPropForm::lbAlbum)
      .Field("edAlbum", &TPropForm::edAlbum)
      .Field("lbComposer", &TPropForm::lbComposer)
      .Field("edComposer", &TPropForm::edComposer)
      .Field("lbYear", &TPropForm::lbYear)
      .Field("edYear", &TPropForm::edYear)
      .Field("lbGroup", &TPropForm::lbGroup)
      .Field("edGroup", &TPropForm::edGroup)
      .Field("lbTrackN", &TPropForm::lbTrackN)
      .Field("edTrackN1", &TPropForm::edTrackN1)
      .Field("lbOf1", &TPropForm::lbOf1)
      .Field("edTrackNum2", &TPropForm::edTrackNum2)
      .Field("lbTempo", &TPropForm::lbTempo)
      .Field("edTempo", &TPropForm::edTempo)
      .Field("lbDisk", &TPropForm::lbDisk)
      .Field("edDiskNum1", &TPropForm::edDiskNum1)
      .Field("lbOf2", &TPropForm::lbOf2)
      .Field("edDiskNum2", &TPropForm::edDiskNum2)
      .Field("lbGenre", &TPropForm::lbGenre)
      .Field("cbGenre", &TPropForm::cbGenre)
      .Field("chCompile", &TPropForm::chCompile)
      .Field("chGapless", &TPropForm::chGapless)
      .Field("TabMore", &TPropForm::TabMore)
      .Field("gbComments", &TPropForm::gbComments)
      .Field("MemoComments", &TPropForm::MemoComments)
      .Field("lbEncoder", &TPropForm::lbEncoder)
      .Field("edEncoder", &TPropForm::edEncoder)
      .Field("lbTool", &TPropForm::lbTool)
      .Field("edTool", &TPropForm::edTool)
      .Field("TabPic", &TPropForm::TabPic)
      .Field("ThumbView", &TPropForm::ThumbView)
      .Field("btAdd", &TPropForm::btAdd)
      .Field("btDelete", &TPropForm::btDelete)
      .Field("btOk", &TPropForm::btOk)
      .Field("btCancel", &TPropForm::btCancel)
      .Field("chTagSupport", &TPropForm::chTagSupport))
      .Table();
  return members;
}

}  // namespace

VCL_CLASS_IMPL_MEMBERS(TPropForm, TUniForm, nullptr, nullptr, &Members)

TPropForm::TPropForm(TComponent* AOwner) : TUniForm(AOwner) { RegisterProgramClasses(); }

TPropForm::~TPropForm() {
  if (PropForm == this) PropForm = nullptr;
}

void TPropForm::Loaded() {
  TUniForm::Loaded();
  PropForm = this;
}
