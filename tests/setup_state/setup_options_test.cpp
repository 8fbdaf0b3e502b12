// The user's choices read back into the package record, and the swap of a
// default data folder when "For all user on this machine" changes.
#include "app/setup_options.h"

#include <gtest/gtest.h>

#include <string>

#include "system/locations.h"

namespace {

TEST(SetupOptions, ChoicesGoIntoThePackageRecord) {
  ProductRecord package;
  package.has_data_folder = true;
  package.association_count = 2;
  SetupChoices choices;
  choices.all_users = true;
  choices.desktop_shortcut = true;
  choices.keep_data = true;
  choices.associations[1] = true;
  choices.program_folder = "C:\\Programs\\Tarnell";
  choices.data_folder = "D:\\Data\\Tarnell";
  ASSERT_TRUE(ReadOptions(choices, package));
  EXPECT_TRUE(package.all_users);
  EXPECT_FALSE(package.start_menu_shortcuts);
  EXPECT_TRUE(package.desktop_shortcut);
  EXPECT_FALSE(package.add_to_path);
  EXPECT_TRUE(package.keep_data);
  EXPECT_FALSE(package.associations[0].create);
  EXPECT_TRUE(package.associations[1].create);
  EXPECT_STREQ(package.program_folder.c_str(), "C:\\Programs\\Tarnell");
  EXPECT_STREQ(package.data_folder.c_str(), "D:\\Data\\Tarnell");

  // Without data files the data folder field is not read.
  package.has_data_folder = false;
  choices.data_folder = "E:\\Elsewhere";
  ASSERT_TRUE(ReadOptions(choices, package));
  EXPECT_STREQ(package.data_folder.c_str(), "D:\\Data\\Tarnell");
}

TEST(SetupOptions, AFolderTooLongIsRefusedAndTheOldOneKept) {
  ProductRecord package;
  package.has_data_folder = true;
  package.program_folder.Assign("C:\\Old");
  package.data_folder.Assign("D:\\Old");
  std::string too_long = "C:\\" + std::string(510, 'x');
  SetupChoices choices;
  choices.program_folder = too_long.c_str();
  choices.data_folder = "D:\\New";
  EXPECT_FALSE(ReadOptions(choices, package));
  EXPECT_STREQ(package.program_folder.c_str(), "C:\\Old");
  EXPECT_STREQ(package.data_folder.c_str(), "D:\\New");
}

TEST(SetupOptions, AllUsersSwapsOnlyADefaultDataFolder) {
  const std::string user_default = DefaultDataFolder(false).c_str();
  const std::string common_default = DefaultDataFolder(true).c_str();
  ASSERT_NE(user_default, common_default);
  std::string user_default_upper = user_default;
  for (char& c : user_default_upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  struct Case {
    std::string field;
    bool all_users_now;
    std::string after;
  };
  const Case cases[] = {
      {user_default, true, common_default},
      {user_default_upper, true, common_default},
      {common_default, false, user_default},
      {user_default, false, user_default},  // already the default of that scope
      {common_default, true, common_default},
      {"D:\\My Data", true, "D:\\My Data"},  // the user's own choice stays
      {user_default + "\\Sub", true, user_default + "\\Sub"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.field);
    Text field(c.field.c_str());
    EXPECT_EQ(SwapDefaultDataFolder(c.all_users_now, field), c.field != c.after);
    EXPECT_STREQ(field.c_str(), c.after.c_str());
  }
}

}  // namespace
