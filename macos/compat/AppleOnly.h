// The Apple API that the macOS sources use and GNUstep does not declare, for the
// compile check on Linux only (the Apple build never sees this file).
//
// Kept honest three ways: declarations only, never a definition or an inline body;
// Apple's exact signatures, each commented with the framework it comes from; and
// nothing GNUstep already declares, so GNUstep's own declaration is always the one
// used. scripts/check-macos.sh fails when GNUstep's headers declare a name listed here.
#pragma once
#import <AppKit/AppKit.h>

#ifdef __cplusplus
extern "C" {
#endif

// ---- MacTypes (CoreServices/CarbonCore); GNUstep declares OSType itself
typedef unsigned char Boolean;    // MacTypes
typedef signed int SInt32;        // MacTypes
typedef unsigned int UInt32;      // MacTypes
typedef SInt32 OSStatus;          // MacTypes
typedef UInt32 FourCharCode;      // MacTypes
typedef FourCharCode ResType;     // MacTypes
typedef UInt32 OptionBits;        // MacTypes
typedef unsigned long ItemCount;  // MacTypes
typedef unsigned long ByteCount;  // MacTypes
enum { noErr = 0 };               // MacTypes

// ---- CoreFoundation
typedef const void* CFTypeRef;                                                                      // CoreFoundation
typedef const struct __attribute__((objc_bridge(NSString))) __CFString* CFStringRef;                // CoreFoundation
typedef const struct __attribute__((objc_bridge(NSURL))) __CFURL* CFURLRef;                         // CoreFoundation
typedef const struct __attribute__((objc_bridge(NSArray))) __CFArray* CFArrayRef;                   // CoreFoundation
typedef const struct __attribute__((objc_bridge(NSDictionary))) __CFDictionary* CFDictionaryRef;    // CoreFoundation
typedef const struct __CFAllocator* CFAllocatorRef;                                                 // CoreFoundation
typedef unsigned long CFTypeID;                                                                     // CoreFoundation
void CFRelease(CFTypeRef cf);                                                                       // CoreFoundation
CFTypeID CFGetTypeID(CFTypeRef cf);                                                                 // CoreFoundation
CFTypeID CFStringGetTypeID(void);                                                                   // CoreFoundation
CFURLRef CFURLCreateWithString(CFAllocatorRef allocator, CFStringRef URLString, CFURLRef baseURL);  // CoreFoundation

// ---- Launch Services (CoreServices)
typedef OptionBits LSRolesMask;                                                                    // CoreServices
enum { kLSRolesAll = 0xFFFFFFFF };                                                                 // CoreServices
CFStringRef LSCopyDefaultHandlerForURLScheme(CFStringRef inURLScheme);                             // CoreServices
OSStatus LSSetDefaultHandlerForURLScheme(CFStringRef inURLScheme, CFStringRef inHandlerBundleID);  // CoreServices
CFArrayRef LSCopyApplicationURLsForURL(CFURLRef inURL, LSRolesMask inRoleMask);                    // CoreServices

// ---- Uniform type identifiers (CoreServices/LaunchServices)
extern const CFStringRef kUTTypeURL;  // CoreServices

// ---- Apple events (CoreServices/AE)
typedef ResType DescType;                                   // CoreServices
typedef FourCharCode AEKeyword;                             // CoreServices
typedef FourCharCode AEEventClass;                          // CoreServices
typedef FourCharCode AEEventID;                             // CoreServices
typedef struct OpaqueAEDataStorageType* AEDataStorageType;  // CoreServices
typedef AEDataStorageType* AEDataStorage;                   // CoreServices
struct AEDesc {                                             // CoreServices
  DescType descriptorType;
  AEDataStorage dataHandle;
};
typedef struct AEDesc AEDesc;       // CoreServices
typedef AEDesc AEAddressDesc;       // CoreServices
enum { keyDirectObject = '----' };  // CoreServices
enum { typeWildCard = '****' };     // CoreServices
OSStatus AEDeterminePermissionToAutomateTarget(const AEAddressDesc* target, AEEventClass theAEEventClass,
                                               AEEventID theAEEventID, Boolean askUserIfNeeded);  // CoreServices

// ---- Accessibility (ApplicationServices/HIServices)
extern CFStringRef kAXTrustedCheckOptionPrompt;                                       // ApplicationServices
Boolean AXIsProcessTrustedWithOptions(CFDictionaryRef options);                       // ApplicationServices
typedef const struct __attribute__((objc_bridge(id))) __AXUIElement* AXUIElementRef;  // ApplicationServices
typedef enum AXError : int32_t AXError;                                               // ApplicationServices
enum AXError : int32_t {                                                              // ApplicationServices
  kAXErrorSuccess = 0,
  kAXErrorFailure = -25200,
  kAXErrorIllegalArgument = -25201,
  kAXErrorInvalidUIElement = -25202,
  kAXErrorInvalidUIElementObserver = -25203,
  kAXErrorCannotComplete = -25204,
  kAXErrorAttributeUnsupported = -25205,
  kAXErrorActionUnsupported = -25206,
  kAXErrorNotificationUnsupported = -25207,
  kAXErrorNotImplemented = -25208,
  kAXErrorNotificationAlreadyRegistered = -25209,
  kAXErrorNotificationNotRegistered = -25210,
  kAXErrorAPIDisabled = -25211,
  kAXErrorNoValue = -25212,
  kAXErrorParameterizedAttributeUnsupported = -25213,
  kAXErrorNotEnoughPrecision = -25214,
};
CFTypeID AXUIElementGetTypeID(void);               // ApplicationServices
AXUIElementRef AXUIElementCreateSystemWide(void);  // ApplicationServices
AXError AXUIElementCopyAttributeValue(AXUIElementRef element, CFStringRef attribute,
                                      CFTypeRef* value);  // ApplicationServices

// ---- Hot keys (Carbon/HIToolbox)
typedef struct OpaqueEventRef* EventRef;                        // Carbon
typedef struct OpaqueEventHandlerCallRef* EventHandlerCallRef;  // Carbon
typedef struct OpaqueEventHandlerRef* EventHandlerRef;          // Carbon
typedef struct OpaqueEventTargetRef* EventTargetRef;            // Carbon
typedef struct OpaqueEventHotKeyRef* EventHotKeyRef;            // Carbon
typedef OSType EventParamName;                                  // Carbon
typedef OSType EventParamType;                                  // Carbon
typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent,
                                        void* inUserData);  // Carbon
typedef EventHandlerProcPtr EventHandlerUPP;                // Carbon
struct EventTypeSpec {                                      // Carbon
  OSType eventClass;
  UInt32 eventKind;
};
typedef struct EventTypeSpec EventTypeSpec;  // Carbon
struct EventHotKeyID {                       // Carbon
  OSType signature;
  UInt32 id;
};
typedef struct EventHotKeyID EventHotKeyID;                                              // Carbon
enum { kEventClassKeyboard = 'keyb' };                                                   // Carbon
enum { kEventHotKeyPressed = 5 };                                                        // Carbon
enum { kEventParamDirectObject = '----' };                                               // Carbon
enum { typeEventHotKeyID = 'hkid' };                                                     // Carbon
enum { eventNotHandledErr = -9874 };                                                     // Carbon
enum { cmdKey = 1 << 8, shiftKey = 1 << 9, optionKey = 1 << 11, controlKey = 1 << 12 };  // Carbon
EventTargetRef GetApplicationEventTarget(void);                                          // Carbon
OSStatus InstallEventHandler(EventTargetRef inTarget, EventHandlerUPP inHandler, ItemCount inNumTypes,
                             const EventTypeSpec* inList, void* inUserData, EventHandlerRef* outRef);  // Carbon
OSStatus RemoveEventHandler(EventHandlerRef inHandlerRef);                                             // Carbon
OSStatus RegisterEventHotKey(UInt32 inHotKeyCode, UInt32 inHotKeyModifiers, EventHotKeyID inHotKeyID,
                             EventTargetRef inTarget, OptionBits inOptions, EventHotKeyRef* outRef);  // Carbon
OSStatus UnregisterEventHotKey(EventHotKeyRef inHotKey);                                              // Carbon
OSStatus GetEventParameter(EventRef inEvent, EventParamName inName, EventParamType inDesiredType,
                           EventParamType* outActualType, ByteCount inBufferSize, ByteCount* outActualSize,
                           void* outData);  // Carbon

#ifdef __cplusplus
}
#endif

// ---- Dispatch (libdispatch; Apple's Foundation brings it in)
@protocol OS_dispatch_object <NSObject>  // Dispatch
@end
@protocol OS_dispatch_queue <OS_dispatch_object>  // Dispatch
@end
typedef NSObject<OS_dispatch_queue>* dispatch_queue_t;  // Dispatch
typedef void (^dispatch_block_t)(void);                 // Dispatch
#ifdef __cplusplus
extern "C" {
#endif
dispatch_queue_t dispatch_get_main_queue(void);                       // Dispatch
void dispatch_async(dispatch_queue_t queue, dispatch_block_t block);  // Dispatch
#ifdef __cplusplus
}
#endif
@protocol OS_dispatch_queue_attr <OS_dispatch_object>  // Dispatch
@end
@protocol OS_dispatch_source <OS_dispatch_object>  // Dispatch
@end
typedef NSObject<OS_dispatch_object>* dispatch_object_t;              // Dispatch
typedef NSObject<OS_dispatch_queue_attr>* dispatch_queue_attr_t;      // Dispatch
typedef NSObject<OS_dispatch_source>* dispatch_source_t;              // Dispatch
typedef const struct dispatch_source_type_s* dispatch_source_type_t;  // Dispatch
typedef uint64_t dispatch_time_t;                                     // Dispatch
#ifdef __cplusplus
extern "C" {
#endif
extern struct dispatch_queue_attr_s _dispatch_queue_attr_concurrent;                    // Dispatch
extern const struct dispatch_source_type_s _dispatch_source_type_timer;                 // Dispatch
dispatch_queue_t dispatch_queue_create(const char* label, dispatch_queue_attr_t attr);  // Dispatch
dispatch_source_t dispatch_source_create(dispatch_source_type_t type, uintptr_t handle, unsigned long mask,
                                         dispatch_queue_t queue);  // Dispatch
void dispatch_source_set_timer(dispatch_source_t source, dispatch_time_t start, uint64_t interval,
                               uint64_t leeway);                                             // Dispatch
void dispatch_source_set_event_handler(dispatch_source_t source, dispatch_block_t handler);  // Dispatch
void dispatch_source_cancel(dispatch_source_t source);                                       // Dispatch
void dispatch_resume(dispatch_object_t object);                                              // Dispatch
dispatch_time_t dispatch_time(dispatch_time_t when, int64_t delta);                          // Dispatch
#ifdef __cplusplus
}
#endif
// Dispatch's own macros, as its headers spell them.
#define DISPATCH_QUEUE_CONCURRENT ((__bridge dispatch_queue_attr_t) & (_dispatch_queue_attr_concurrent))
#define DISPATCH_SOURCE_TYPE_TIMER (&_dispatch_source_type_timer)
#define DISPATCH_TIME_NOW (0ull)
#define NSEC_PER_SEC 1000000000ull

// ---- Foundation
typedef struct {  // Foundation
  NSInteger majorVersion;
  NSInteger minorVersion;
  NSInteger patchVersion;
} NSOperatingSystemVersion;

@interface NSProcessInfo (AppleOnly)
- (BOOL)isOperatingSystemAtLeastVersion:(NSOperatingSystemVersion)version;  // Foundation
@end

@interface NSUserDefaults (AppleOnly)
- (instancetype)initWithSuiteName:(NSString*)suitename;  // Foundation
@end

extern NSString* const NSKeyedArchiveRootObjectKey;  // Foundation

@interface NSKeyedUnarchiver (AppleOnly)
+ (id)unarchivedObjectOfClasses:(NSSet<Class>*)classes fromData:(NSData*)data error:(NSError**)error;  // Foundation
@end

@interface NSDataDetector : NSRegularExpression                                                      // Foundation
+ (NSDataDetector*)dataDetectorWithTypes:(NSTextCheckingTypes)checkingTypes error:(NSError**)error;  // Foundation
@end

extern NSString* const NSAppleScriptErrorMessage;  // Foundation

@interface NSAppleEventDescriptor (AppleOnly)
+ (NSAppleEventDescriptor*)descriptorWithBundleIdentifier:(NSString*)bundleIdentifier;  // Foundation
- (NSAppleEventDescriptor*)paramDescriptorForKeyword:(AEKeyword)keyword;                // Foundation
@property(readonly, copy) NSString* stringValue;                                        // Foundation
@property(readonly) const AEDesc* aeDesc;                                               // Foundation
@end

@interface NSAppleEventManager (AppleOnly)
+ (NSAppleEventManager*)sharedAppleEventManager;  // Foundation
- (void)setEventHandler:(id)handler
            andSelector:(SEL)handleEventSelector
          forEventClass:(AEEventClass)eventClass
             andEventID:(AEEventID)eventID;  // Foundation
@end

@interface NSAppleScript (AppleOnly)
- (instancetype)initWithSource:(NSString*)source;                                           // Foundation
- (NSAppleEventDescriptor*)executeAndReturnError:(NSDictionary<NSString*, id>**)errorInfo;  // Foundation
@end

enum { NSArgumentsWrongScriptError = 6 };  // Foundation

@interface NSScriptCommand (AppleOnly)
@property(readonly, copy) NSDictionary<NSString*, id>* evaluatedArguments;  // Foundation
@property(retain) id directParameter;                                       // Foundation
@property NSInteger scriptErrorNumber;                                      // Foundation
@property(copy) NSString* scriptErrorString;                                // Foundation
- (id)performDefaultImplementation;                                         // Foundation
@end

// Debian's GNUstep is built without NSURLSession; a build with it declares its own.
#if !GS_HAVE_NSURLSESSION
@interface NSURLSessionTask : NSObject  // Foundation
- (void)resume;                         // Foundation
@end
@interface NSURLSessionDataTask : NSURLSessionTask  // Foundation
@end
@interface NSURLSession : NSObject                               // Foundation
@property(class, readonly, strong) NSURLSession* sharedSession;  // Foundation
- (NSURLSessionDataTask*)dataTaskWithRequest:(NSURLRequest*)request
                           completionHandler:(void (^)(NSData* data, NSURLResponse* response,
                                                       NSError* error))completionHandler;  // Foundation
@end
#endif

// ---- QuartzCore
@interface CALayer : NSObject    // QuartzCore
@property CGFloat cornerRadius;  // QuartzCore
@end

// ---- AppKit
extern NSString* const NSWorkspaceDidDeactivateApplicationNotification;  // AppKit
extern NSString* const NSWorkspaceApplicationKey;                        // AppKit

@interface NSWorkspace (AppleOnly)
- (void)activateFileViewerSelectingURLs:(NSArray<NSURL*>*)fileURLs;  // AppKit
@end

@interface NSViewController (AppleOnly)
@property(readonly, strong) NSExtensionContext* extensionContext;  // AppKit (NSExtensionAdditions)
@end

@interface NSApplication (AppleOnly)
- (BOOL)setActivationPolicy:(NSApplicationActivationPolicy)activationPolicy;  // AppKit
@end

@interface NSMenu (AppleOnly)
- (void)removeAllItems;                                                                                // AppKit
- (void)cancelTracking;                                                                                // AppKit
- (BOOL)popUpMenuPositioningItem:(NSMenuItem*)item atLocation:(NSPoint)location inView:(NSView*)view;  // AppKit
@end

enum {  // AppKit (10.12 names)
  NSEventTypeLeftMouseDown = 1,
  NSEventTypeLeftMouseUp = 2,
  NSEventTypeRightMouseDown = 3,
  NSEventTypeLeftMouseDragged = 6,
  NSEventTypeKeyDown = 10,
  NSEventTypeKeyUp = 11,
  NSEventTypeFlagsChanged = 12,
};

@interface NSEvent (AppleOnly)
+ (id)addGlobalMonitorForEventsMatchingMask:(NSEventMask)mask handler:(void (^)(NSEvent* event))block;  // AppKit
+ (void)removeMonitor:(id)eventMonitor;                                                                 // AppKit
@end

@interface NSPasteboard (AppleOnly)
- (NSInteger)clearContents;  // AppKit
@end

@interface NSMenuItem (AppleOnly)
@property(strong) NSView* view;  // AppKit
@end

@interface NSStatusItem (AppleOnly)
@property(readonly, strong) NSStatusBarButton* button;  // AppKit
@end

enum { NSAlertStyleWarning = 0, NSAlertStyleInformational = 1, NSAlertStyleCritical = 2 };  // AppKit (10.12 names)

@interface NSAlert (AppleOnly)
@property(strong) NSView* accessoryView;  // AppKit
@end

enum { NSCompositingOperationCopy = 1 };  // AppKit (10.12 name)

typedef NS_ENUM(NSInteger, NSWindowTitleVisibility) {  // AppKit
  NSWindowTitleVisible = 0,
  NSWindowTitleHidden = 1,
};

@interface NSWindow (AppleOnly)
- (void)setStyleMask:(NSWindowStyleMask)styleMask;  // AppKit
@property BOOL titlebarAppearsTransparent;          // AppKit
@property NSWindowTitleVisibility titleVisibility;  // AppKit
@end

@interface NSView (AppleOnly) <NSUserInterfaceItemIdentification>  // AppKit
@property BOOL wantsLayer;                                         // AppKit
@property(strong) CALayer* layer;                                  // AppKit
@end

@interface NSTextField (AppleOnly)
@property NSInteger maximumNumberOfLines;     // AppKit
@property(copy) NSString* placeholderString;  // AppKit
@end

static const NSButtonType NSButtonTypeSwitch = (NSButtonType)3;  // AppKit (10.12 name)

@interface NSImage (AppleOnly)
- (void)setTemplate:(BOOL)isTemplate;  // AppKit
- (BOOL)isTemplate;                    // AppKit
@end
