// Companion objects: kept in address order, found by their component, freed with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "widetext/component_helpers.h"

namespace {

// A companion that counts its own end.
class TCountingHelper : public TWideComponentHelper {
 public:
  TCountingHelper(TComponent* component, TComponentList* list, int& freed)
      : TWideComponentHelper(component, list), FFreed(freed) {}
  ~TCountingHelper() override { ++FFreed; }

 private:
  int& FFreed;
};

std::vector<TComponent*> ServedInListOrder(const TComponentList& list) {
  std::vector<TComponent*> out;
  for (int i = 0; i < list.Count(); ++i)
    out.push_back(static_cast<TWideComponentHelper*>(list.Items(i))->Component());
  return out;
}

bool InAddressOrder(const std::vector<TComponent*>& v) {
  return std::is_sorted(v.begin(), v.end(), std::less<TComponent*>());
}

TEST(ComponentHelpers, CompanionsAreKeptInAddressOrderAndFound) {
  TComponent owner(nullptr);
  std::vector<TComponent*> components;
  for (int i = 0; i < 24; ++i) components.push_back(new TComponent(&owner));
  TComponent unserved(nullptr);

  // Made in an order unrelated to the addresses, so that every insertion has to find its
  // place.
  std::vector<TComponent*> order = components;
  std::shuffle(order.begin(), order.end(), std::mt19937(7));
  TComponentList list;
  std::vector<TWideComponentHelper*> helpers;
  for (TComponent* c : order) {
    helpers.push_back(TWideComponentHelper::CreateHelper(c, &list));
    ASSERT_TRUE(InAddressOrder(ServedInListOrder(list)));
  }
  ASSERT_EQ(list.Count(), 24);

  for (size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(FindWideComponentHelper(&list, order[i]), helpers[i]);
    EXPECT_EQ(helpers[i]->Owner(), nullptr);
  }
  EXPECT_EQ(FindWideComponentHelper(&list, &unserved), nullptr);
  int index = -1;
  EXPECT_FALSE(FindWideComponentHelperIndex(&list, &unserved, index));
  // The insertion point: every companion before it serves a lower address.
  const std::vector<TComponent*> served = ServedInListOrder(list);
  EXPECT_EQ(index, std::lower_bound(served.begin(), served.end(), &unserved, std::less<TComponent*>()) - served.begin());

  TComponentList empty;
  EXPECT_EQ(FindWideComponentHelper(&empty, &unserved), nullptr);
}

TEST(ComponentHelpers, CompanionGoesWithItsComponent) {
  int freed = 0;
  TComponentList list;
  auto* owner = new TComponent(nullptr);
  auto* a = new TComponent(owner);
  auto* b = new TComponent(owner);
  auto* c = new TComponent(nullptr);
  new TCountingHelper(a, &list, freed);
  new TCountingHelper(b, &list, freed);
  auto* helperC = new TCountingHelper(c, &list, freed);

  delete a;
  EXPECT_EQ(freed, 1);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(FindWideComponentHelper(&list, c), helperC);

  delete owner;  // b goes with its owner, and its companion with it
  EXPECT_EQ(freed, 2);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Items(0), helperC);

  delete c;
  EXPECT_EQ(freed, 3);
  EXPECT_EQ(list.Count(), 0);
}

TEST(ComponentHelpers, ListThatOwnsCompanionsFreesThemFirst) {
  int freed = 0;
  TComponent component(nullptr);
  {
    TComponentList list;
    new TCountingHelper(&component, &list, freed);
  }
  EXPECT_EQ(freed, 1);
  // The component no longer knows the companion: freeing it at the end of the test must
  // not reach the freed companion.
}

TEST(ComponentHelpers, PlainConstructionIsAnInternalError) {
  const std::function<TComponent*(TComponent*)> makers[] = {
      [](TComponent* owner) { return new TWideComponentHelper(owner); },
      [](TComponent* owner) { return TWideComponentHelper::StaticClass()->Create(owner); },
  };
  for (const auto& make : makers) {
    TComponent owner(nullptr);
    try {
      make(&owner);
      ADD_FAILURE() << "constructed";
    } catch (const EUniInternalError& e) {
      EXPECT_STREQ(e.what(), "Unicode Internal Error: TWideComponentHelper.Create should never be encountered.");
    }
    EXPECT_EQ(owner.ComponentCount(), 0);
  }
}

}  // namespace
