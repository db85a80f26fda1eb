// OSC 1.0 packets: the messages the player sends, and the messages it takes apart, bare or in
// bundles (nested ones too). Every argument type of OSC 1.0 and its common extensions is checked
// for its size and padding; only int32, float32 and string values are handed on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

constexpr int kOscKeptArguments = 4;  // values kept per message; more are checked and counted

struct OscArgument {
    char type;           // the type tag: 'i', 'f', 's', 'h', 'b' ...
    int32_t int32;       // for 'i'
    float float32;       // for 'f'
    const char* string;  // for 's' and 'S': zero-terminated, inside the packet
};

struct OscMessage {
    const char* path;                          // zero-terminated, inside the packet
    const char* types;                         // the type tags after the ','
    int count;                                 // arguments in the message
    OscArgument arguments[kOscKeptArguments];  // the first ones
};

// Takes packet apart and calls take for each message, in order, bundles unpacked (a bundle's time
// tag is not waited for). A damaged packet, or a damaged message inside a bundle, ends what
// follows it in that bundle; returns how many such faults were met.
int DispatchOscPacket(const uint8_t* packet, size_t size,
                      const std::function<void(const OscMessage&)>& take);

// Writes the message path with arguments of types ('i' or 'f' only) into out; returns its size,
// or 0 when it does not fit into capacity bytes.
union OscNumber {
    int32_t int32;
    float float32;
};
size_t EncodeOscMessage(const char* path, const char* types, const OscNumber* values, uint8_t* out,
                        size_t capacity);
