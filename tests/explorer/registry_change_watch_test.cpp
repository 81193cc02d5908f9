// The registry change watch over a real key of the current user.
#include <windows.h>

#include <gtest/gtest.h>

#include "explorer/registry_change_watch.h"

namespace {

const wchar_t kTestKey[] = L"Software\\Kavo\\Tests\\RegistryWatch";

class RegistryChangeWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegCloseKey(Key);
    RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
  }
  HKEY Key = nullptr;
};

}  // namespace

TEST_F(RegistryChangeWatchTest, EachChangeBelowTheKeyIsToldOnce) {
  TRegistryChangeWatch watch;
  watch.Watch(HKEY_CURRENT_USER, kTestKey);
  EXPECT_FALSE(watch.Changed());

  HKEY deep = nullptr;
  ASSERT_EQ(RegCreateKeyExW(Key, L".kavo\\Shell", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &deep, nullptr),
            ERROR_SUCCESS);
  EXPECT_TRUE(watch.Changed());  // a key made two levels down
  EXPECT_FALSE(watch.Changed());

  const wchar_t text[] = L"Kavo clip";
  RegSetValueExW(deep, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
  EXPECT_TRUE(watch.Changed());  // a value set
  EXPECT_FALSE(watch.Changed());
  RegCloseKey(deep);

  RegDeleteTreeW(Key, L".kavo");
  EXPECT_TRUE(watch.Changed());  // keys deleted
  EXPECT_FALSE(watch.Changed());
}

TEST_F(RegistryChangeWatchTest, KeysBesideTheWatchedOneAndMissingKeysTellNothing) {
  HKEY watched = nullptr, beside = nullptr;
  ASSERT_EQ(RegCreateKeyExW(Key, L"Watched", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &watched, nullptr),
            ERROR_SUCCESS);
  TRegistryChangeWatch watch;
  watch.Watch(HKEY_CURRENT_USER, L"Software\\Kavo\\Tests\\RegistryWatch\\Watched");
  watch.Watch(HKEY_CURRENT_USER, L"Software\\Kavo\\Tests\\RegistryWatch\\Missing");
  ASSERT_EQ(RegCreateKeyExW(Key, L"Beside\\More", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &beside, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(beside);
  EXPECT_FALSE(watch.Changed());

  const DWORD one = 1;
  RegSetValueExW(watched, L"Value", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  EXPECT_TRUE(watch.Changed());
  RegCloseKey(watched);
}
