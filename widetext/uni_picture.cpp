#include "widetext/uni_picture.h"

#include "widetext/filenames.h"
#include "widetext/wide_files.h"

VCL_CLASS_IMPL(TUniPicture, TPicture, nullptr, nullptr)

void TUniPicture::LoadFromFile(const WideString& FileName) {
  // Read through the wide name itself on every system: a name outside the code page has no
  // 8-bit form, and a short (8.3) name to stand for it may not exist.
  const TGraphicClass graphicClass = RegisteredClassOf(WideToAnsi(WideExtractFileExt(FileName)));
  TUniFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadNewGraphic(graphicClass, [&](TGraphic* graphic) { graphic->LoadFromStream(&stream); });
}
