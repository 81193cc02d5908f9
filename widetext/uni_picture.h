// A picture loaded by a wide (UTF-16) file name.
#pragma once

#include "vcl/pictures.h"

class TUniPicture : public TPicture {
  VCL_CLASS(TUniPicture)
 public:
  // The graphic class registered for the file's extension reads the file through a wide
  // file stream. Raises what the picture loader raises: EInvalidGraphic for an extension
  // nobody registered or data the class cannot read, EFOpenError for a file that cannot be
  // opened.
  void LoadFromFile(const WideString& FileName);
};
