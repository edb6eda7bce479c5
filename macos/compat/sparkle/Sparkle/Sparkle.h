// The part of the Sparkle framework's interface that the updater adapter uses, with
// Sparkle's own signatures, for the compile check only: the Apple build uses the
// framework's headers. Declarations only.
#pragma once
#import <Foundation/Foundation.h>

@class SUUpdater;

@interface SUAppcast : NSObject
@end

@interface SUAppcastItem : NSObject
@end

@protocol SUUpdaterDelegate <NSObject>
@optional
- (void)updaterDidNotFindUpdate:(SUUpdater*)updater;
- (void)updater:(SUUpdater*)updater didFindValidUpdate:(SUAppcastItem*)item;
- (void)updater:(SUUpdater*)updater didFinishLoadingAppcast:(SUAppcast*)appcast;
- (BOOL)updaterShouldRelaunchApplication:(SUUpdater*)updater;
- (void)updaterWillRelaunchApplication:(SUUpdater*)updater;
@end

@interface SUUpdater : NSObject
+ (SUUpdater*)sharedUpdater;
@property(weak) id<SUUpdaterDelegate> delegate;
@property BOOL automaticallyChecksForUpdates;
@property NSTimeInterval updateCheckInterval;
@property(copy) NSURL* feedURL;
@property(nonatomic, copy) NSString* userAgentString;
@property BOOL automaticallyDownloadsUpdates;
- (IBAction)checkForUpdates:(id)sender;
@end
