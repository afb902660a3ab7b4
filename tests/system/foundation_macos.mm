// The system tests' Foundation side, on macOS and against GNUstep (foundation-on-gnustep); the
// autorelease pool around the run is for GNUstep, which wants one.
#import <Foundation/Foundation.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include "system/probes/DiskSpace.h"
#include "system/process/RaisePlatformException.h"

@interface TarqDerivedException : NSException
@end

@implementation TarqDerivedException
@end

namespace tarq::SystemValuesUtility {

namespace {

NSString* text(const std::string& utf8) {
  return [NSString stringWithUTF8String:utf8.c_str()];
}

class AutoreleasePoolEnvironment : public testing::Environment {
 public:
  void SetUp() override { pool_ = [[NSAutoreleasePool alloc] init]; }
  void TearDown() override { [pool_ drain]; }

 private:
  NSAutoreleasePool* pool_ = nil;
};

testing::Environment* const autoreleasePool =
    testing::AddGlobalTestEnvironment(new AutoreleasePoolEnvironment);

// Unsandboxed, the account's own Documents folder.
TEST(DocumentsFolderMacosTest, AnswersTheAccountsDocumentsFolder) {
  const passwd* account = ::getpwuid(::getuid());
  ASSERT_NE(account, nullptr);
  EXPECT_EQ(SystemValuesUtility::documentsDirectory(), std::string(account->pw_dir) + "/Documents");
}

}  // namespace

void raisePlatformException(const std::string& name,
                            const std::map<std::string, std::string>& userInfo, bool derived) {
  NSMutableDictionary* info = nil;
  if (!userInfo.empty()) {
    info = [NSMutableDictionary dictionary];
    for (const auto& [key, value] : userInfo) {
      [info setObject:text(value) forKey:text(key)];
    }
  }
  Class type = derived ? [TarqDerivedException class] : [NSException class];
  @throw [type exceptionWithName:text(name) reason:@"not carried over" userInfo:info];
}

}  // namespace tarq::SystemValuesUtility
