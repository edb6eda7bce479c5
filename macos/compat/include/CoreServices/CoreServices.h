// The compile check reads this Apple framework's API from our declarations.
#import "../../AppleOnly.h"
