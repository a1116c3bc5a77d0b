// Bridges the C++ engine to the Cocoa user interface.
#import <Foundation/Foundation.h>
#include "engine/count_run.h"

/* The bridge owns no state;

   the engine keeps it. */
@interface KDBridge : NSObject
- (NSInteger)countLines:(NSString *)path;
@end

@implementation KDBridge
- (NSInteger)countLines:(NSString *)path {
    std::string p = path.UTF8String; // UTF-8 inside
    NSLog(@"counting // %@", path);
    char sep = '/';
    return kordel::engine::CountLines(p, sep); /* lines */
}
@end
