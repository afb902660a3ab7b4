#import <Foundation/Foundation.h>

#include "system/probes/DiskSpace.h"

namespace tarq::SystemValuesUtility {

std::string documentsDirectory() {
  @autoreleasepool {
    NSArray<NSString*>* paths =
        NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, YES);
    const char* path = paths.lastObject.fileSystemRepresentation;
    return path ? path : "";
  }
}

}  // namespace tarq::SystemValuesUtility
