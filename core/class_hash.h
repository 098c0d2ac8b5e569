#pragma once
// The class-name hash that places runtime class records in their table.

constexpr int DYNAMIC_HASH_NUM = 16384;

// Slot of a class name: MD5 of the name's bytes, the two big-endian 64-bit halves added,
// modulo DYNAMIC_HASH_NUM.
int ClassNameSlot(const char* name);
