// Greeter.m -- a greeting in Objective-C.
#import <Foundation/Foundation.h>

@implementation Greeter
- (void)greet:(NSString *)name times:(int)n {
    NSLog(@"Hello, %@ (%d%%)", name, n);
    int rest = n % 7;
    % percent comment
}
@end