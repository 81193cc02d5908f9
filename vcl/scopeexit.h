// A cleanup that runs when the scope is left, by any way (exceptions included): the
// state flags and temporary settings the framework sets around a call are undone here.
#pragma once

template <class F>
struct ScopeExit {
  F f;
  ~ScopeExit() { f(); }
};
template <class F>
ScopeExit(F) -> ScopeExit<F>;
