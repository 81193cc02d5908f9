#include "runner/input_queue.h"

using TGuard = std::lock_guard<std::recursive_mutex>;

AnsiString TInputQueue::Get(int index) const {
  TGuard g(FLock);
  return TStringList::Get(index);
}

int TInputQueue::GetCount() const {
  TGuard g(FLock);
  return TStringList::GetCount();
}

void TInputQueue::Put(int index, const AnsiString& s) {
  TGuard g(FLock);
  TStringList::Put(index, s);
}

void TInputQueue::Clear() {
  TGuard g(FLock);
  TStringList::Clear();
}

void TInputQueue::Delete(int index) {
  TGuard g(FLock);
  TStringList::Delete(index);
}

void TInputQueue::Insert(int index, const AnsiString& s) {
  TGuard g(FLock);
  TStringList::Insert(index, s);
}

void TInputQueue::InsertObject(int index, const AnsiString& s, TObject* obj) {
  TGuard g(FLock);
  TStringList::InsertObject(index, s, obj);
}

int TInputQueue::Add(const AnsiString& s) {
  TGuard g(FLock);
  return TStringList::Add(s);
}

int TInputQueue::AddObject(const AnsiString& s, TObject* obj) {
  TGuard g(FLock);
  return TStringList::AddObject(s, obj);
}

bool TInputQueue::TakeFirst(AnsiString& line) {
  TGuard g(FLock);
  if (TStringList::GetCount() == 0) return false;
  line = TStringList::Get(0);
  TStringList::Delete(0);
  return true;
}
