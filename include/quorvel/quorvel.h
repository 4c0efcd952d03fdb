/* The C interface of Quorvel: create objects, call their members late-bound with automation
 * values, and read errors back, from C99 or any language with a C foreign-function interface.
 *
 * Every function returns a qv_status: QV_OK (0) on success, otherwise the number of the error,
 * whose source and description qv_last_error() gives on the same thread. Nothing here throws or
 * aborts on bad input. Checked: null pointers, handle values no allocation can produce (below
 * 4096 or misaligned), kind words, member kinds, argument counts and array bounds. Not checked:
 * a handle that was released already, or storage a by-reference argument points at that has
 * gone; those are the caller's to keep alive, as with any C pointer.
 */
#ifndef QUORVEL_QUORVEL_H
#define QUORVEL_QUORVEL_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define QV_API __attribute__((visibility("default")))
#else
#define QV_API
#endif

#define QV_VERSION_MAJOR 5
#define QV_VERSION_MINOR 24

/** 0 for success, else the error number (signed 32-bit, as 0x80040001 reads negative). */
typedef int32_t qv_status;
#define QV_OK 0

/** A counted object reference. Each handle the interface gives out holds one reference. */
typedef struct qv_object_s* qv_object;
/** A counted UTF-16 string of any code units; NULL is the empty string. */
typedef struct qv_string_s* qv_string;
/** A one-dimensional typed array with its own lower bound. */
typedef struct qv_array_s* qv_array;

/** Kind words: a kind, optionally with QV_ARRAY or QV_BYREF (or both) added. */
enum {
  QV_EMPTY = 0,
  QV_NULL = 1,
  QV_INTEGER = 2, /* int16_t */
  QV_LONG = 3,    /* int32_t */
  QV_SINGLE = 4,  /* float */
  QV_DOUBLE = 5,  /* double */
  QV_STRING = 8,  /* qv_string */
  QV_OBJECT = 9,  /* qv_object, NULL is Nothing */
  QV_ERROR = 10,  /* int32_t code; QV_MISSING_CODE marks an omitted optional argument */
  QV_BOOLEAN = 11, /* int16_t, True is -1 */
  QV_VARIANT = 12, /* only as an array element kind or a by-reference target */
  QV_BYTE = 17,   /* uint8_t */
  QV_ARRAY = 0x2000,
  QV_BYREF = 0x4000
};
#define QV_MISSING_CODE ((int32_t)0x80020004u)

/** An automation value: 16 bytes, the kind word, three reserved words (zero) and an 8-byte
 * payload. The layout is the library's own, so arrays of them pass without conversion.
 * A value of kind QV_STRING, QV_OBJECT or QV_ARRAY owns what it holds: qv_variant_clear()
 * releases it. With QV_BYREF added, `ref` points at caller storage of the kind (an int32_t for
 * QV_LONG, a qv_string for QV_STRING, a qv_object for QV_OBJECT, a qv_variant for QV_VARIANT,
 * and for an array the array itself: the qv_array handle); a member that writes its argument
 * back writes there. */
typedef struct qv_variant {
  uint16_t kind;
  uint16_t reserved[3];
  union {
    int16_t integer;
    int32_t lng;
    float single;
    double dbl;
    int16_t boolean;
    uint8_t byte;
    int32_t error;
    qv_string str;
    qv_object obj;
    qv_array arr;
    void* ref;
    uint64_t bits;
  } value;
} qv_variant;

/** How a member is reached; a call may allow several (QV_METHOD | QV_GET). */
enum { QV_METHOD = 1, QV_GET = 2, QV_LET = 4, QV_SET = 8 };

/* --- objects ------------------------------------------------------------------------------ */

/** A new object of a creatable class by program id ("Quorvel.ArrayList_Long"); 429 when none. */
QV_API qv_status qv_create(const char* progid, qv_object* out);
/** A new object by class id written "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"; 429 when none. */
QV_API qv_status qv_create_by_clsid(const char* clsid, qv_object* out);
/** The calling thread's instance of a global class ("QuorvelApp", "clsDebug"). */
QV_API qv_status qv_global(const char* name, qv_object* out);
/** Takes a further reference. */
QV_API qv_status qv_addref(qv_object object);
/** Gives one reference back; NULL is allowed and does nothing. */
QV_API qv_status qv_release(qv_object object);

/* --- calls -------------------------------------------------------------------------------- */

/** The dispatch id of a member name (letter case ignored); 438 when there is none. */
QV_API qv_status qv_get_dispid(qv_object object, const char* name, int32_t* out);
/** Calls member `dispid` as one of `kinds` with `count` arguments in call order (for let and
 * set the assigned value last). The arguments stay the caller's; by-reference ones may have been
 * written. `result` (may be NULL) is set to Empty first, without clearing what it held, and
 * then receives the result, which the caller clears. */
QV_API qv_status qv_invoke(qv_object object, int32_t dispid, int kinds, qv_variant* args, size_t count,
                           qv_variant* result);
/** qv_invoke by member name. */
QV_API qv_status qv_invoke_by_name(qv_object object, const char* name, int kinds, qv_variant* args, size_t count,
                                   qv_variant* result);
/** qv_invoke where the last `named` arguments are passed by parameter name, `names[i]` naming
 * args[count - named + i]. 448 for a name the member lacks, 5 for a parameter named twice or
 * also given by position. */
QV_API qv_status qv_invoke_named(qv_object object, int32_t dispid, int kinds, qv_variant* args, size_t count,
                                 const char* const* names, size_t named, qv_variant* result);

/* --- values ------------------------------------------------------------------------------- */

/** Empty. */
QV_API void qv_variant_init(qv_variant* v);
/** Releases what `v` owns and makes it Empty; NULL does nothing. */
QV_API qv_status qv_variant_clear(qv_variant* v);
/** `out` (initialised) becomes a deep copy of `in`, read through a by-reference. */
QV_API qv_status qv_variant_copy(qv_variant* out, const qv_variant* in);

/** A new string from `length` bytes of UTF-8 (invalid sequences become U+FFFD). */
QV_API qv_status qv_string_from_utf8(const char* text, size_t length, qv_string* out);
/** A new string holding exactly these code units (lone surrogates are kept). */
QV_API qv_status qv_string_from_utf16(const uint16_t* units, size_t length, qv_string* out);
/** The code units and their count; stay valid while the string lives. */
QV_API qv_status qv_string_units(qv_string s, const uint16_t** units, size_t* length);
/** A UTF-8 copy, zero-terminated, freed with qv_free (lone surrogates become U+FFFD). */
QV_API qv_status qv_string_to_utf8(qv_string s, char** out);
QV_API void qv_string_free(qv_string s);

/** A new array of `kind` (one of the kinds above, QV_VARIANT included) with bounds `lower` to
 * `lower + count - 1`; 5 for a negative count, 6 when the upper bound would overflow. */
QV_API qv_status qv_array_create(int kind, int32_t lower, int32_t count, qv_array* out);
/** Lower bound and count; 9 for an unallocated array. */
QV_API qv_status qv_array_bounds(qv_array a, int32_t* lower, int32_t* count);
/** The element at `index` as a value the caller clears; 9 outside the bounds. */
QV_API qv_status qv_array_get(qv_array a, int32_t index, qv_variant* out);
/** Stores `value` converted to the element kind; 9 outside the bounds, 6, 13 or 94 on conversion. */
QV_API qv_status qv_array_put(qv_array a, int32_t index, const qv_variant* value);
QV_API void qv_array_free(qv_array a);

/** Frees text the interface handed out. */
QV_API void qv_free(void* p);

/* --- errors ------------------------------------------------------------------------------- */

/** The last failure on this thread: its number, and (each may be NULL) its source and
 * description as UTF-8 to free with qv_free. Number 0 and empty texts when nothing failed yet. */
QV_API qv_status qv_last_error(int32_t* number, char** source, char** description);

#ifdef __cplusplus
}
#endif

#endif /* QUORVEL_QUORVEL_H */
