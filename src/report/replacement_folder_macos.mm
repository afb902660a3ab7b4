#import <Foundation/Foundation.h>

#include "report/ReplacementFolder.h"

namespace tarq {

// In the sandbox the program may write the file the person chose in the save panel, but nothing
// beside it; the system's replacement folder for that volume is writable, and a rename from it
// replaces the chosen file in one step. Outside the sandbox it serves as well.
ReplacementFolder replacementFolderFor(const std::string& target) {
  @autoreleasepool {
    NSFileManager* files = NSFileManager.defaultManager;
    NSString* targetPath = [files stringWithFileSystemRepresentation:target.c_str()
                                                              length:target.size()];
    NSURL* targetFolder = [NSURL fileURLWithPath:targetPath].URLByDeletingLastPathComponent;
    NSError* error = nil;
    NSURL* folder = [files URLForDirectory:NSItemReplacementDirectory
                                  inDomain:NSUserDomainMask
                         appropriateForURL:targetFolder
                                    create:YES
                                     error:&error];
    const char* path = folder.path.fileSystemRepresentation;
    if (path == nullptr) {
      return {};
    }
    return {path, true};
  }
}

}  // namespace tarq
