// The lines waiting to be written to a child's standard input: a string list that the
// main thread fills while the runner's worker takes from it.
#pragma once

#include <mutex>

#include "vcl/strings.h"

class TInputQueue : public TStringList {
 public:
  AnsiString Get(int index) const override;
  int GetCount() const override;
  void Put(int index, const AnsiString& s) override;
  void Clear() override;
  void Delete(int index) override;
  void Insert(int index, const AnsiString& s) override;
  void InsertObject(int index, const AnsiString& s, TObject* obj) override;
  int Add(const AnsiString& s) override;
  int AddObject(const AnsiString& s, TObject* obj) override;

  // Removes the first line into line; false when the queue is empty.
  bool TakeFirst(AnsiString& line);

 private:
  mutable std::recursive_mutex FLock;  // recursive: the list's operations call one another
};
