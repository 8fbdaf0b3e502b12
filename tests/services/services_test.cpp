// Product services against Wine's real service control manager: how they are
// registered, the rights handed to Everyone, stopping within and beyond the
// ten-second wait, deleting, and the "start"/"stop" arguments of the service
// shortcuts. Each test registers a service of its own name and deletes it.
#include "system/services.h"
#include "system/shortcuts.h"

#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <string>

#include "capture_logger.h"
#include "handles/owned_handle.h"
#include "run_program.h"
#include "service_queries.h"
#include "test_folder.h"

namespace {

// A copy of the test service under a name of this test's own, in a folder
// whose name holds a blank; the service is deleted at the end.
class TestService {
 public:
  explicit TestService(const TestFolder& folder) {
    name_ = "TarnellSvc" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(counter_++);
    std::string dir = folder / "Program Dir";
    CreateDirectoryA(dir.c_str(), nullptr);
    path_ = dir + "\\" + name_ + ".Main.exe";
    EXPECT_TRUE(CopyFileA(TEST_SERVICE_EXE, path_.c_str(), FALSE)) << path_;
  }
  ~TestService() {
    ServiceHandle service = OpenTestService(name_, SERVICE_ALL_ACCESS);
    if (!service) return;
    SERVICE_STATUS status;
    ControlService(service.Get(), SERVICE_CONTROL_STOP, &status);
    WaitForServiceState(name_, SERVICE_STOPPED, 15);
    DeleteService(service.Get());
  }

  const std::string& Name() const { return name_; }
  const std::string& Path() const { return path_; }

  // Starts it as the service control manager does, with `argument` for ServiceMain.
  bool Start(const char* argument = nullptr) const {
    return StartServiceWith(name_, argument) && WaitForServiceState(name_, SERVICE_RUNNING, 10);
  }

  DWORD State() const { return Facts().state; }
  bool Exists() const { return FindService(name_).has_value(); }
  ServiceFacts Facts() const {
    std::optional<ServiceFacts> facts = FindService(name_);
    EXPECT_TRUE(facts.has_value()) << name_;
    return facts.value_or(ServiceFacts{});
  }

 private:
  static inline int counter_ = 0;
  std::string name_;
  std::string path_;
};

// A record whose start-menu folder holds the service's two shortcuts.
ProductRecord RecordWithServiceShortcuts(const TestFolder& folder, const TestService& test_service) {
  ProductRecord record;
  record.start_menu_shortcuts = true;
  record.start_menu_folder.Assign((folder / "Menu").c_str());
  CreateDirectoryA(record.start_menu_folder.c_str(), nullptr);
  WriteTestFile(folder / ("Menu\\Start " + test_service.Name() + " Service.lnk"), "link");
  WriteTestFile(folder / ("Menu\\Stop " + test_service.Name() + " Service.lnk"), "link");
  return record;
}

bool ShortcutsThere(const TestFolder& folder, const TestService& test_service) {
  return GetFileAttributesA((folder / ("Menu\\Start " + test_service.Name() + " Service.lnk")).c_str()) !=
             INVALID_FILE_ATTRIBUTES &&
         GetFileAttributesA((folder / ("Menu\\Stop " + test_service.Name() + " Service.lnk")).c_str()) !=
             INVALID_FILE_ATTRIBUTES;
}

// Runs the service program with one argument, as a service shortcut does.
DWORD RunProgram(const std::string& path, const char* argument) {
  return RunProgramToEnd(path.c_str(), "\"" + path + "\" " + argument, nullptr, 10000);
}

TEST(Services, ServiceNameIsTheFileNameUpToTheFirstDot) {
  EXPECT_STREQ(ServiceNameOf("Agent.exe").c_str(), "Agent");
  EXPECT_STREQ(ServiceNameOf("Agent.Main.exe").c_str(), "Agent");
}

TEST(Services, CreatedManualLocalSystemWithQuotedPath) {
  TestFolder folder;
  TestService test_service(folder);
  ASSERT_TRUE(CreateProgramService(test_service.Path().c_str(), test_service.Name().c_str()));

  ServiceFacts config = test_service.Facts();
  EXPECT_EQ(config.service_type, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
  EXPECT_EQ(config.start_type, static_cast<DWORD>(SERVICE_DEMAND_START));
  EXPECT_EQ(config.error_control, static_cast<DWORD>(SERVICE_ERROR_IGNORE));
  EXPECT_EQ(config.image_path, "\"" + test_service.Path() + "\"");
  EXPECT_EQ(config.account, "LocalSystem");
  EXPECT_EQ(config.display_name, test_service.Name() + " Service");
  // The setup never starts a service.
  EXPECT_EQ(test_service.State(), static_cast<DWORD>(SERVICE_STOPPED));
  // The quoted path with its blank starts the program for real.
  EXPECT_TRUE(test_service.Start());
}

// The display name of another program's service. Display names are unique
// too: a fixed one would clash with the service of a test running beside
// this one (ERROR_DUPLICATE_SERVICE_NAME).
std::string SomeoneElsesDisplayName(const std::string& name) { return "Someone Else's " + name; }

// Registers a service of another program under `name`; the error, if any.
DWORD RegisterSomeoneElses(const std::string& name, const std::string& image_path, DWORD start_type) {
  ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  ServiceHandle service(CreateServiceA(manager.Get(), name.c_str(), SomeoneElsesDisplayName(name).c_str(),
                                       SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS, start_type, SERVICE_ERROR_NORMAL,
                                       image_path.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
  return service ? ERROR_SUCCESS : GetLastError();
}

// A service that exists already under the name: another vendor's "Agent" or a
// system service named like a package file. It is never taken over (the
// uninstall would stop and delete it) nor changed; this product's own is.
TEST(Services, OnlyAnExistingServiceOfThisProgramIsTakenOver) {
  TestFolder folder;
  struct Case {
    const char* what;
    std::string registered_path;  // empty: the test service's own, quoted
    bool adopted;
  };
  const Case cases[] = {
      {"another program", "C:\\elsewhere.exe", false},
      {"this program unquoted", "", false},
      {"this program quoted", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestService test_service(folder);
    std::string path = c.registered_path;
    if (path.empty()) path = c.adopted ? "\"" + test_service.Path() + "\"" : test_service.Path();
    ASSERT_EQ(RegisterSomeoneElses(test_service.Name(), path, SERVICE_AUTO_START), ERROR_SUCCESS);

    EXPECT_EQ(CreateProgramService(test_service.Path().c_str(), test_service.Name().c_str()), c.adopted);
    EXPECT_EQ(RunsOtherProgram(test_service.Name().c_str(), test_service.Path().c_str()), !c.adopted);
    ServiceFacts config = test_service.Facts();
    EXPECT_EQ(config.start_type, static_cast<DWORD>(SERVICE_AUTO_START));
    EXPECT_EQ(config.image_path, path);
    EXPECT_EQ(config.display_name, SomeoneElsesDisplayName(test_service.Name()));
  }
}

TEST(Services, AnotherProgramsServiceOutlivesTheUninstall) {
  TestFolder folder;
  TestService test_service(folder);
  // Registered under the product's service name, but for another program.
  std::string other_program = folder / "Other.exe";
  ASSERT_TRUE(CopyFileA(TEST_SERVICE_EXE, other_program.c_str(), FALSE));
  ASSERT_EQ(RegisterSomeoneElses(test_service.Name(), "\"" + other_program + "\"", SERVICE_DEMAND_START),
            ERROR_SUCCESS);
  ASSERT_TRUE(test_service.Start());

  CaptureLogger log;
  ProductRecord record = RecordWithServiceShortcuts(folder, test_service);
  UninstallService(record, test_service.Name().c_str(), test_service.Path().c_str());
  EXPECT_TRUE(log.errors.empty());
  EXPECT_EQ(log.lines,
            std::vector<std::string>{"Service " + test_service.Name() + " runs another program and is left as it is"});
  EXPECT_TRUE(test_service.Exists());
  EXPECT_EQ(test_service.State(), static_cast<DWORD>(SERVICE_RUNNING));
  // The product's own shortcuts go all the same.
  EXPECT_FALSE(ShortcutsThere(folder, test_service));
}

// Wine keeps no service security (its calls are stubs), so the descriptor
// that is handed over is checked here before it goes.
TEST(Services, DescriptorGrantsEveryoneQueryStartAndStopButNoReconfiguring) {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  SidMemory admins;
  ASSERT_TRUE(AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                       admins.Receive()));
  EXPLICIT_ACCESS_A admin_entry{};
  admin_entry.grfAccessPermissions = SERVICE_ALL_ACCESS;
  admin_entry.grfAccessMode = SET_ACCESS;
  admin_entry.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  admin_entry.Trustee.TrusteeType = TRUSTEE_IS_ALIAS;
  admin_entry.Trustee.ptstrName = static_cast<LPSTR>(admins.Get());
  PACL present = nullptr;
  ASSERT_EQ(SetEntriesInAclA(1, &admin_entry, nullptr, &present), static_cast<DWORD>(ERROR_SUCCESS));
  LocalMemory present_owner(present);

  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  SidMemory everyone;
  ASSERT_TRUE(AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, everyone.Receive()));

  struct Case {
    const char* what;
    PACL existing;
    DWORD expected_aces;
  };
  for (const Case& c : {Case{"no DACL", nullptr, 1}, Case{"the administrators' DACL", present, 2}}) {
    SCOPED_TRACE(c.what);
    ServiceControlDescriptor descriptor;
    ASSERT_TRUE(descriptor.Build(c.existing));
    ASSERT_TRUE(IsValidSecurityDescriptor(descriptor.Descriptor()));
    BOOL dacl_present = FALSE;
    BOOL defaulted = TRUE;
    PACL dacl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(descriptor.Descriptor(), &dacl_present, &dacl, &defaulted));
    ASSERT_TRUE(dacl_present);
    EXPECT_FALSE(defaulted);
    ASSERT_EQ(dacl->AceCount, c.expected_aces);

    int everyone_entries = 0;
    bool admins_kept = false;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
      ACCESS_ALLOWED_ACE* ace = nullptr;
      ASSERT_TRUE(GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
      ASSERT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
      EXPECT_EQ(ace->Header.AceFlags, 0);  // no inheritance
      PSID sid = &ace->SidStart;
      if (EqualSid(sid, everyone.Get())) {
        ++everyone_entries;
        EXPECT_EQ(ace->Mask,
                  static_cast<DWORD>(SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS | SERVICE_START | SERVICE_STOP));
        // Whoever may change the configuration may run any program as LocalSystem.
        EXPECT_EQ(ace->Mask & (SERVICE_CHANGE_CONFIG | WRITE_DAC | WRITE_OWNER | DELETE), 0u);
      }
      if (EqualSid(sid, admins.Get())) admins_kept = ace->Mask == SERVICE_ALL_ACCESS;
    }
    EXPECT_EQ(everyone_entries, 1);
    EXPECT_EQ(admins_kept, c.existing != nullptr);
  }
}

TEST(Services, RunningServiceIsStoppedSetToManualAndDeleted) {
  TestFolder folder;
  TestService test_service(folder);
  ASSERT_TRUE(CreateProgramService(test_service.Path().c_str(), test_service.Name().c_str()));
  ASSERT_TRUE(test_service.Start());
  ServiceHandle service = OpenTestService(test_service.Name(), SERVICE_CHANGE_CONFIG);
  ASSERT_TRUE(ChangeServiceConfigA(service.Get(), SERVICE_NO_CHANGE, SERVICE_AUTO_START, SERVICE_NO_CHANGE, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
  service.Reset();

  EXPECT_EQ(StopProgramService(test_service.Name().c_str()), StopResult::kStopped);
  EXPECT_EQ(test_service.State(), static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_EQ(test_service.Facts().start_type, static_cast<DWORD>(SERVICE_DEMAND_START));
  EXPECT_EQ(StopProgramService(test_service.Name().c_str()), StopResult::kWasStopped);

  ASSERT_TRUE(test_service.Start());
  CaptureLogger log;
  ProductRecord record = RecordWithServiceShortcuts(folder, test_service);
  UninstallService(record, test_service.Name().c_str(), test_service.Path().c_str());
  EXPECT_TRUE(log.errors.empty());
  EXPECT_FALSE(test_service.Exists());
  EXPECT_FALSE(ShortcutsThere(folder, test_service));
  // Gone is gone: deleting again succeeds.
  EXPECT_TRUE(DeleteProgramService(test_service.Name().c_str()));
}

TEST(Services, ServiceThatDoesNotStopInTenSecondsStays) {
  TestFolder folder;
  TestService test_service(folder);
  ASSERT_TRUE(CreateProgramService(test_service.Path().c_str(), test_service.Name().c_str()));
  ASSERT_TRUE(test_service.Start("slow-stop"));

  CaptureLogger log;
  ProductRecord record = RecordWithServiceShortcuts(folder, test_service);
  DWORD started = GetTickCount();
  EXPECT_THROW(UninstallService(record, test_service.Name().c_str(), test_service.Path().c_str()), AbortError);
  EXPECT_GE(GetTickCount() - started, 9500u);
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_EQ(log.errors[0], "The service " + test_service.Name() + " has not been stoppt");
  EXPECT_TRUE(test_service.Exists());
  EXPECT_TRUE(ShortcutsThere(folder, test_service));
  // Asked again while it is still on its way down, it is waited for.
  EXPECT_EQ(StopProgramService(test_service.Name().c_str()), StopResult::kStopped);
}

TEST(Services, MissingServiceCannotBeStoppedButCountsAsDeleted) {
  const char* name = "TarnellSvcNeverCreated";
  EXPECT_EQ(StopProgramService(name), StopResult::kNotStopped);
  EXPECT_TRUE(DeleteProgramService(name));
  CaptureLogger log;
  ProductRecord record;
  EXPECT_THROW(UninstallService(record, name, "C:\\Tarnell\\TarnellSvcNeverCreated.exe"), AbortError);
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_EQ(log.errors[0], "The service TarnellSvcNeverCreated has not been stoppt");
}

TEST(Services, ShortcutArgumentsStartAndStopTheService) {
  TestFolder folder;
  TestService test_service(folder);
  ASSERT_TRUE(CreateProgramService(test_service.Path().c_str(), test_service.Name().c_str()));

  EXPECT_EQ(RunProgram(test_service.Path(), "start"), 0u);
  EXPECT_TRUE(WaitForServiceState(test_service.Name(), SERVICE_RUNNING, 10));
  EXPECT_EQ(RunProgram(test_service.Path(), "stop"), 0u);
  EXPECT_TRUE(WaitForServiceState(test_service.Name(), SERVICE_STOPPED, 10));
}

}  // namespace
