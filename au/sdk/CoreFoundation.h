// The CoreFoundation subset the Audio Unit side uses: retain-counted strings,
// numbers, data, dictionaries, arrays, URLs and bundles, under the platform's
// names and calling conventions, so that code written against them builds
// unchanged where the real framework exists.
#pragma once

#include <cstdint>

using Boolean = unsigned char;
using UInt8 = std::uint8_t;
using SInt16 = std::int16_t;
using UInt16 = std::uint16_t;
using SInt32 = std::int32_t;
using UInt32 = std::uint32_t;
using SInt64 = std::int64_t;
using UInt64 = std::uint64_t;
using Float32 = float;
using Float64 = double;
using OSStatus = SInt32;
using OSType = UInt32;
using CFIndex = long;
using CFTypeID = unsigned long;
using CFStringEncoding = UInt32;
using CFNumberType = CFIndex;

struct __CFObject;
using CFTypeRef = const void*;
using CFAllocatorRef = const struct __CFAllocator*;
using CFStringRef = const struct __CFString*;
using CFMutableStringRef = struct __CFString*;
using CFNumberRef = const struct __CFNumber*;
using CFDataRef = const struct __CFData*;
using CFDictionaryRef = const struct __CFDictionary*;
using CFMutableDictionaryRef = struct __CFDictionary*;
using CFArrayRef = const struct __CFArray*;
using CFMutableArrayRef = struct __CFArray*;
using CFURLRef = const struct __CFURL*;
using CFBundleRef = struct __CFBundle*;
using CFRunLoopRef = struct __CFRunLoop*;
using CFPropertyListRef = CFTypeRef;

enum : OSStatus { noErr = 0 };
enum : CFStringEncoding { kCFStringEncodingMacRoman = 0, kCFStringEncodingUTF8 = 0x08000100 };
enum : CFNumberType { kCFNumberSInt32Type = 3, kCFNumberFloat32Type = 5, kCFNumberFloat64Type = 6 };

// Collections here always retain what they hold; the callback tables exist
// so calls keep the platform's shape.
struct CFDictionaryKeyCallBacks { CFIndex version; };
struct CFDictionaryValueCallBacks { CFIndex version; };
struct CFArrayCallBacks { CFIndex version; };
extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;
extern const CFArrayCallBacks kCFTypeArrayCallBacks;
constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;

// All any; each object is immutable after creation except the mutable
// collections, which one thread at a time may change.
CFTypeRef CFRetain(CFTypeRef object);
void CFRelease(CFTypeRef object);
CFIndex CFGetRetainCount(CFTypeRef object);
CFTypeID CFGetTypeID(CFTypeRef object);
CFTypeID CFStringGetTypeID();
CFTypeID CFNumberGetTypeID();
CFTypeID CFDataGetTypeID();
CFTypeID CFDictionaryGetTypeID();
CFTypeID CFArrayGetTypeID();

CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text, CFStringEncoding encoding);
Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding encoding);
CFIndex CFStringGetLength(CFStringRef string);

CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType type, const void* value);
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* value);

CFDataRef CFDataCreate(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length);
CFIndex CFDataGetLength(CFDataRef data);
const UInt8* CFDataGetBytePtr(CFDataRef data);

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks);
void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value);
void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void* key);
const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key);
CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary);

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef allocator, CFIndex capacity, const CFArrayCallBacks* callBacks);
void CFArrayAppendValue(CFMutableArrayRef array, const void* value);
CFIndex CFArrayGetCount(CFArrayRef array);
const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index);

// Bundles: the process's main bundle (the host application) and loaded
// bundles (plug-ins) found by identifier. URLs are plain paths here.
CFBundleRef CFBundleGetMainBundle();
CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef identifier);
CFStringRef CFBundleGetIdentifier(CFBundleRef bundle);
CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key);
CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle);
Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean resolveAgainstBase, UInt8* buffer, CFIndex maxLength);
extern const CFStringRef kCFBundleVersionKey;

// What a host machine would provide: the host application's identity and the
// bundles installed on it. control; not part of the platform's interface.
void TWSetMainBundle(const char* identifier, const char* version);
void TWRegisterBundle(const char* identifier, const char* path);
