// Saving and restoring game state: each subsystem lists the fields it owns once, in one
// function that either copies them into a byte buffer (save) or back out of it (restore).
// Only plain values and records without padding or pointers go in, so the saved bytes are
// fully defined and can be checksummed and compared between machines.
#pragma once
#include <cstdint>
#include <cstring>
#include <type_traits>

struct STATEBUF {
    uint8_t* lpData;    // the buffer: written when saving, read when restoring
    uint32_t nSize;     // its capacity in bytes
    uint32_t nPos;      // bytes transferred so far
    uint8_t bRestore;   // 0 save, 1 restore
    uint8_t bOverflow;  // set (and nothing more transferred) when the buffer was too small
};

inline void StateBytes(STATEBUF* lpBuf, void* lpField, uint32_t nBytes) {
    if (lpBuf->bOverflow || nBytes > lpBuf->nSize - lpBuf->nPos) {
        lpBuf->bOverflow = 1;
        return;
    }
    if (lpBuf->bRestore)
        std::memcpy(lpField, lpBuf->lpData + lpBuf->nPos, nBytes);
    else
        std::memcpy(lpBuf->lpData + lpBuf->nPos, lpField, nBytes);
    lpBuf->nPos += nBytes;
}

// A number, or an array of numbers.
template <class T>
void StateField(STATEBUF* lpBuf, T& field) {
    using E = std::remove_all_extents_t<T>;
    static_assert(std::is_arithmetic_v<E>, "only numbers: records go through StateRecord");
    StateBytes(lpBuf, &field, uint32_t(sizeof field));
}

// A record (or an array of records) made only of integers, without padding.
template <class T>
void StateRecord(STATEBUF* lpBuf, T& record) {
    using E = std::remove_all_extents_t<T>;
    static_assert(std::is_trivially_copyable_v<E> && std::has_unique_object_representations_v<E>,
                  "a record with padding or floating values must list its fields");
    StateBytes(lpBuf, &record, uint32_t(sizeof record));
}
