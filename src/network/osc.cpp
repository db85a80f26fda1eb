#include "network/osc.hpp"

#include <cstring>

namespace {

constexpr char kBundle[] = "#bundle";
constexpr size_t kTimeTagBytes = 8;

uint32_t ReadBigEndian(const uint8_t* at) {
    return static_cast<uint32_t>(at[0]) << 24 | static_cast<uint32_t>(at[1]) << 16 |
           static_cast<uint32_t>(at[2]) << 8 | at[3];
}

void WriteBigEndian(uint32_t value, uint8_t* at) {
    at[0] = static_cast<uint8_t>(value >> 24);
    at[1] = static_cast<uint8_t>(value >> 16);
    at[2] = static_cast<uint8_t>(value >> 8);
    at[3] = static_cast<uint8_t>(value);
}

size_t Padded(size_t bytes) {
    return (bytes + 3) & ~size_t{3};
}

// The bytes a string takes at data (its zero and the zeros up to a multiple of 4), or 0 when it
// has no zero within size or its padding holds anything else.
size_t StringBytes(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // data may then be null, which memchr must not see
    const void* end = std::memchr(data, 0, size);
    if (end == nullptr) return 0;
    const size_t length = static_cast<size_t>(static_cast<const uint8_t*>(end) - data);
    const size_t taken = Padded(length + 1);
    if (taken > size) return 0;
    for (size_t i = length; i < taken; ++i) {
        if (data[i] != 0) return 0;
    }
    return taken;
}

// A blob: its 4-byte length, then that many bytes padded with zeros.
size_t BlobBytes(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const size_t length = ReadBigEndian(data);
    if (length > size - 4) return 0;
    const size_t taken = 4 + Padded(length);
    if (taken > size) return 0;
    for (size_t i = 4 + length; i < taken; ++i) {
        if (data[i] != 0) return 0;
    }
    return taken;
}

// The bytes the argument of type takes at data; 0 when it does not fit, -1 for an unknown type.
long ArgumentBytes(char type, const uint8_t* data, size_t size) {
    size_t bytes = 0;
    switch (type) {
        case 'T':
        case 'F':
        case 'N':
        case 'I':
            return 0;
        case 'i':
        case 'f':
        case 'c':
        case 'm':
        case 'r':
            bytes = 4;
            break;
        case 'h':
        case 't':
        case 'd':
            bytes = 8;
            break;
        case 's':
        case 'S':
            bytes = StringBytes(data, size);
            return bytes == 0 ? -1 : static_cast<long>(bytes);
        case 'b':
            bytes = BlobBytes(data, size);
            return bytes == 0 ? -1 : static_cast<long>(bytes);
        default:
            return -1;
    }
    return bytes <= size ? static_cast<long>(bytes) : -1;
}

void Keep(char type, const uint8_t* data, OscArgument* argument) {
    argument->type = type;
    argument->int32 = 0;
    argument->float32 = 0.0f;
    argument->string = nullptr;
    if (type == 'i') argument->int32 = static_cast<int32_t>(ReadBigEndian(data));
    if (type == 'f') {
        const uint32_t bits = ReadBigEndian(data);
        std::memcpy(&argument->float32, &bits, sizeof bits);
    }
    if (type == 's' || type == 'S') argument->string = reinterpret_cast<const char*>(data);
}

// A message: its path, its type tags (which must be there and start with ','), then exactly the
// arguments they name, nothing after them.
bool ParseMessage(const uint8_t* data, size_t size, OscMessage* message) {
    const size_t path_bytes = StringBytes(data, size);
    if (path_bytes == 0) return false;
    const size_t types_bytes = StringBytes(data + path_bytes, size - path_bytes);
    if (types_bytes == 0 || data[path_bytes] != ',') return false;
    message->path = reinterpret_cast<const char*>(data);
    message->types = reinterpret_cast<const char*>(data + path_bytes + 1);
    message->count = 0;
    size_t at = path_bytes + types_bytes;
    for (const char* type = message->types; *type != '\0'; ++type) {
        const long bytes = ArgumentBytes(*type, data + at, size - at);
        if (bytes < 0) return false;
        if (message->count < kOscKeptArguments) {
            Keep(*type, data + at, &message->arguments[message->count]);
        }
        ++message->count;
        at += static_cast<size_t>(bytes);
    }
    return at == size;
}

bool IsBundle(const uint8_t* data, size_t size) {
    return size >= sizeof kBundle && std::memcmp(data, kBundle, sizeof kBundle) == 0;
}

// A bundle is checked whole before any of it is taken: "#bundle", a time tag, then elements each
// led by its length, filling the packet exactly.
bool BundleIsWhole(const uint8_t* data, size_t size) {
    size_t at = sizeof kBundle + kTimeTagBytes;
    if (at > size) return false;
    while (size - at >= 4) {
        const size_t length = ReadBigEndian(data + at);
        at += 4;
        if (length > size - at) return false;
        at += length;
    }
    return at == size;
}

// Kept out of DispatchBundle, so that bundles nested thousands deep cost a small frame each.
[[gnu::noinline]] bool DispatchMessage(const uint8_t* data, size_t size,
                                       const std::function<void(const OscMessage&)>& take) {
    OscMessage message;
    if (!ParseMessage(data, size, &message)) return false;
    take(message);
    return true;
}

int DispatchBundle(const uint8_t* data, size_t size,
                   const std::function<void(const OscMessage&)>& take) {
    if (!BundleIsWhole(data, size)) return 1;
    int faults = 0;
    size_t at = sizeof kBundle + kTimeTagBytes;
    while (size - at >= 4) {
        const size_t length = ReadBigEndian(data + at);
        at += 4;
        if (IsBundle(data + at, length)) {
            faults += DispatchBundle(data + at, length, take);
        } else if (!DispatchMessage(data + at, length, take)) {
            return faults + 1;
        }
        at += length;
    }
    return faults;
}

}  // namespace

int DispatchOscPacket(const uint8_t* packet, size_t size,
                      const std::function<void(const OscMessage&)>& take) {
    if (IsBundle(packet, size)) return DispatchBundle(packet, size, take);
    return DispatchMessage(packet, size, take) ? 0 : 1;
}

size_t EncodeOscMessage(const char* path, const char* types, const OscNumber* values, uint8_t* out,
                        size_t capacity) {
    const size_t path_bytes = Padded(std::strlen(path) + 1);
    const size_t type_count = std::strlen(types);
    const size_t types_bytes = Padded(type_count + 2);
    const size_t size = path_bytes + types_bytes + 4 * type_count;
    if (size > capacity) return 0;
    std::memset(out, 0, size);
    std::memcpy(out, path, std::strlen(path));
    out[path_bytes] = ',';
    std::memcpy(out + path_bytes + 1, types, type_count);
    uint8_t* at = out + path_bytes + types_bytes;
    for (size_t i = 0; i < type_count; ++i, at += 4) {
        uint32_t bits = 0;
        if (types[i] == 'i') bits = static_cast<uint32_t>(values[i].int32);
        if (types[i] == 'f') std::memcpy(&bits, &values[i].float32, sizeof bits);
        WriteBigEndian(bits, at);
    }
    return size;
}
