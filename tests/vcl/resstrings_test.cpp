#include <gtest/gtest.h>

#include "vcl/resstrings.h"
#include "vcl/streams.h"
#include "vcl/strings.h"

namespace {

// The framework's texts come from its string table (vcl/vcl.rc), linked into
// this program through kavo_vcl.
TEST(ResourceStrings, LoadFromTheStringTable) {
  const struct {
    const TResStringRec* rec;
    const char* text;
  } cases[] = {
      {&SListIndexError, "List index out of bounds (%d)"},
      {&SDuplicateString, "String list does not allow duplicates"},
      {&SSortedListError, "Operation not allowed on sorted list"},
      {&SFCreateErrorEx, "Cannot create file \"%s\". %s"},
      {&SFOpenErrorEx, "Cannot open file \"%s\". %s"},
      {&SInvalidProperty, "Invalid property value"},
      {&SLineTooLong, "Line too long"},
      {&SInsertLineError, "Unable to insert a line"},
      {&SNoMDIForm, "Cannot create form. No MDI forms are currently active"},
      {&SWindowsVistaRequired, "%s requires Windows Vista or later"},
      {&SMsgDlgYesToAll, "Yes to &All"},
      {&SmkcCtrl, "Ctrl+"},
      {&SmkcDel, "Del"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(LoadResString(c.rec), c.text);
  }
  EXPECT_EQ(LoadResString(nullptr), "");
  const TResStringRec missing{&HInstance, 12};
  EXPECT_EQ(LoadResString(&missing), "");
  EXPECT_EQ(HInstance, GetModuleHandleW(nullptr));
}

TEST(ResourceStrings, FrameworkErrorsCarryTheTableTexts) {
  TStringList list;
  list.Add("a");
  try {
    list.Delete(5);
    ADD_FAILURE() << "no exception";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message, "List index out of bounds (5)");
  }
  list.SetSorted(true);
  try {
    list.Insert(0, "b");
    ADD_FAILURE() << "no exception";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message, "Operation not allowed on sorted list");
  }
  try {
    TFileStream stream("Z:\\no such folder\\no such file.txt", fmOpenRead);
    ADD_FAILURE() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message.rfind("Cannot open file \"Z:\\no such folder\\no such file.txt\". ", 0), 0u) << e.Message;
  }
}

}  // namespace
