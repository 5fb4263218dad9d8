#include "au/sdk/CoreFoundation.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace {

enum TypeId : CFTypeID { kString = 7, kNumber = 22, kData = 20, kDictionary = 18, kArray = 19, kURL = 29, kBundle = 31 };

// One record for every kind: the kinds differ only in which fields they use.
struct Object {
    explicit Object(CFTypeID kind) : kind(kind) {}
    std::atomic<CFIndex> references{1};
    CFTypeID kind;
    std::string text;             // string, URL path
    bool isInteger = false;       // number
    SInt32 integer = 0;
    double real = 0.0;
    std::vector<UInt8> bytes;     // data
    std::vector<std::pair<CFTypeRef, CFTypeRef>> entries;  // dictionary
    std::vector<CFTypeRef> items;  // array
    bool retainsItems = true;      // an array made without callbacks holds plain pointers
};

Object* object(CFTypeRef ref) { return static_cast<Object*>(const_cast<void*>(ref)); }

template <typename Ref>
Ref make(CFTypeID kind, Object*& created) {
    created = new Object(kind);
    return static_cast<Ref>(static_cast<void*>(created));
}

const Object* ofKind(CFTypeRef ref, CFTypeID kind) {
    const Object* o = object(ref);
    return o && o->kind == kind ? o : nullptr;
}

bool sameKey(CFTypeRef a, CFTypeRef b) {
    if (a == b) return true;
    const Object* x = ofKind(a, kString);
    const Object* y = ofKind(b, kString);
    return x && y && x->text == y->text;
}

struct Bundle {
    CFStringRef identifier = nullptr;
    CFStringRef version = nullptr;
    CFURLRef url = nullptr;
    ~Bundle() {
        for (CFTypeRef held : {CFTypeRef(identifier), CFTypeRef(version), CFTypeRef(url)}) CFRelease(held);
    }
};

struct BundleRegistry {
    std::mutex lock;
    Bundle main;
    bool hasMain = false;
    // Kept until the process ends: bundle references stay valid.
    std::map<std::string, std::unique_ptr<Bundle>> loaded;
};

BundleRegistry& bundles() {
    static BundleRegistry registry;
    return registry;
}

CFURLRef makeURL(const char* path) {
    Object* o = nullptr;
    CFURLRef url = make<CFURLRef>(kURL, o);
    o->text = path ? path : "";
    return url;
}

}  // namespace

const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks{0};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks{0};
const CFArrayCallBacks kCFTypeArrayCallBacks{0};
const CFStringRef kCFBundleVersionKey = CFStringCreateWithCString(nullptr, "CFBundleVersion", kCFStringEncodingUTF8);

CFTypeRef CFRetain(CFTypeRef ref) {
    if (ref) object(ref)->references.fetch_add(1, std::memory_order_relaxed);
    return ref;
}

void CFRelease(CFTypeRef ref) {
    if (!ref) return;
    Object* o = object(ref);
    if (o->references.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    for (auto& [key, value] : o->entries) {
        CFRelease(key);
        CFRelease(value);
    }
    if (o->retainsItems)
        for (CFTypeRef item : o->items) CFRelease(item);
    delete o;
}

CFIndex CFGetRetainCount(CFTypeRef ref) {
    return ref ? object(ref)->references.load(std::memory_order_relaxed) : 0;
}

CFTypeID CFGetTypeID(CFTypeRef ref) { return ref ? object(ref)->kind : 0; }
CFTypeID CFStringGetTypeID() { return kString; }
CFTypeID CFNumberGetTypeID() { return kNumber; }
CFTypeID CFDataGetTypeID() { return kData; }
CFTypeID CFDictionaryGetTypeID() { return kDictionary; }
CFTypeID CFArrayGetTypeID() { return kArray; }

// Texts are kept as the bytes given; both encodings used here are supersets
// of ASCII, which is all the names of this product hold.
CFStringRef CFStringCreateWithCString(CFAllocatorRef, const char* text, CFStringEncoding) {
    if (!text) return nullptr;
    Object* o = nullptr;
    CFStringRef string = make<CFStringRef>(kString, o);
    o->text = text;
    return string;
}

Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize, CFStringEncoding) {
    const Object* o = ofKind(string, kString);
    if (!o || !buffer || bufferSize <= 0 || static_cast<CFIndex>(o->text.size()) >= bufferSize) return false;
    std::memcpy(buffer, o->text.c_str(), o->text.size() + 1);
    return true;
}

CFIndex CFStringGetLength(CFStringRef string) {
    const Object* o = ofKind(string, kString);
    return o ? static_cast<CFIndex>(o->text.size()) : 0;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* value) {
    if (!value) return nullptr;
    Object* o = nullptr;
    CFNumberRef number = make<CFNumberRef>(kNumber, o);
    if (type == kCFNumberSInt32Type) {
        std::memcpy(&o->integer, value, sizeof(SInt32));
        o->isInteger = true;
        o->real = o->integer;
    } else if (type == kCFNumberFloat32Type) {
        float f;
        std::memcpy(&f, value, sizeof f);
        o->real = f;
    } else {
        std::memcpy(&o->real, value, sizeof(double));
    }
    return number;
}

// Like the platform, a conversion that loses information still writes the
// nearest value but answers false.
Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* value) {
    const Object* o = ofKind(number, kNumber);
    if (!o || !value) return false;
    if (type == kCFNumberSInt32Type) {
        const bool exact = o->isInteger;
        const SInt32 v = exact ? o->integer
                               : (o->real != o->real ? 0
                                                     : static_cast<SInt32>(std::max(-2147483648.0, std::min(2147483647.0, o->real))));
        std::memcpy(value, &v, sizeof v);
        return exact || static_cast<double>(v) == o->real;
    }
    if (type == kCFNumberFloat32Type) {
        const float f = static_cast<float>(o->real);
        std::memcpy(value, &f, sizeof f);
        return true;
    }
    std::memcpy(value, &o->real, sizeof(double));
    return true;
}

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length) {
    if (length < 0 || (!bytes && length > 0)) return nullptr;
    Object* o = nullptr;
    CFDataRef data = make<CFDataRef>(kData, o);
    if (length > 0) o->bytes.assign(bytes, bytes + length);
    return data;
}

CFIndex CFDataGetLength(CFDataRef data) {
    const Object* o = ofKind(data, kData);
    return o ? static_cast<CFIndex>(o->bytes.size()) : 0;
}

const UInt8* CFDataGetBytePtr(CFDataRef data) {
    const Object* o = ofKind(data, kData);
    return o ? o->bytes.data() : nullptr;
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef, CFIndex, const CFDictionaryKeyCallBacks*,
                                                 const CFDictionaryValueCallBacks*) {
    Object* o = nullptr;
    return make<CFMutableDictionaryRef>(kDictionary, o);
}

void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value) {
    Object* o = object(dictionary);
    if (!o || o->kind != kDictionary || !key) return;
    CFRetain(value);
    for (auto& entry : o->entries) {
        if (!sameKey(entry.first, key)) continue;
        CFRelease(entry.second);
        entry.second = value;
        return;
    }
    o->entries.emplace_back(CFRetain(key), value);
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void* key) {
    Object* o = object(dictionary);
    if (!o || o->kind != kDictionary) return;
    for (auto it = o->entries.begin(); it != o->entries.end(); ++it) {
        if (!sameKey(it->first, key)) continue;
        CFRelease(it->first);
        CFRelease(it->second);
        o->entries.erase(it);
        return;
    }
}

const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key) {
    const Object* o = ofKind(dictionary, kDictionary);
    if (!o) return nullptr;
    for (const auto& entry : o->entries)
        if (sameKey(entry.first, key)) return entry.second;
    return nullptr;
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary) {
    const Object* o = ofKind(dictionary, kDictionary);
    return o ? static_cast<CFIndex>(o->entries.size()) : 0;
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex, const CFArrayCallBacks* callBacks) {
    Object* o = nullptr;
    CFMutableArrayRef array = make<CFMutableArrayRef>(kArray, o);
    o->retainsItems = callBacks != nullptr;
    return array;
}

void CFArrayAppendValue(CFMutableArrayRef array, const void* value) {
    Object* o = object(array);
    if (o && o->kind == kArray) o->items.push_back(o->retainsItems ? CFRetain(value) : value);
}

CFIndex CFArrayGetCount(CFArrayRef array) {
    const Object* o = ofKind(array, kArray);
    return o ? static_cast<CFIndex>(o->items.size()) : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index) {
    const Object* o = ofKind(array, kArray);
    if (!o || index < 0 || index >= static_cast<CFIndex>(o->items.size())) return nullptr;
    return o->items[static_cast<std::size_t>(index)];
}

CFBundleRef CFBundleGetMainBundle() {
    BundleRegistry& registry = bundles();
    std::lock_guard guard(registry.lock);
    return registry.hasMain ? reinterpret_cast<CFBundleRef>(&registry.main) : nullptr;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef identifier) {
    const Object* id = ofKind(identifier, kString);
    if (!id) return nullptr;
    BundleRegistry& registry = bundles();
    std::lock_guard guard(registry.lock);
    const auto found = registry.loaded.find(id->text);
    return found == registry.loaded.end() ? nullptr : reinterpret_cast<CFBundleRef>(found->second.get());
}

CFStringRef CFBundleGetIdentifier(CFBundleRef bundle) {
    return bundle ? reinterpret_cast<Bundle*>(bundle)->identifier : nullptr;
}

CFTypeRef CFBundleGetValueForInfoDictionaryKey(CFBundleRef bundle, CFStringRef key) {
    if (!bundle || !sameKey(key, kCFBundleVersionKey)) return nullptr;
    return reinterpret_cast<Bundle*>(bundle)->version;
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle) {
    if (!bundle) return nullptr;
    return static_cast<CFURLRef>(CFRetain(reinterpret_cast<Bundle*>(bundle)->url));
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean, UInt8* buffer, CFIndex maxLength) {
    const Object* o = ofKind(url, kURL);
    if (!o || !buffer || static_cast<CFIndex>(o->text.size()) >= maxLength) return false;
    std::memcpy(buffer, o->text.c_str(), o->text.size() + 1);
    return true;
}

void TWSetMainBundle(const char* identifier, const char* version) {
    BundleRegistry& registry = bundles();
    std::lock_guard guard(registry.lock);
    CFRelease(registry.main.identifier);
    CFRelease(registry.main.version);
    registry.main.identifier = identifier ? CFStringCreateWithCString(nullptr, identifier, kCFStringEncodingUTF8) : nullptr;
    registry.main.version = version ? CFStringCreateWithCString(nullptr, version, kCFStringEncodingUTF8) : nullptr;
    registry.hasMain = identifier != nullptr;
}

void TWRegisterBundle(const char* identifier, const char* path) {
    if (!identifier) return;
    BundleRegistry& registry = bundles();
    std::lock_guard guard(registry.lock);
    std::unique_ptr<Bundle>& bundle = registry.loaded[identifier];
    if (!bundle) {
        bundle = std::make_unique<Bundle>();
        bundle->identifier = CFStringCreateWithCString(nullptr, identifier, kCFStringEncodingUTF8);
    }
    CFRelease(bundle->url);
    bundle->url = path ? makeURL(path) : nullptr;
}
