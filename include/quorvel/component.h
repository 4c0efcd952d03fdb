/* The entry points of Quorvel as an in-process component, with C linkage: a class factory per
 * class id, the unload query, and registration in a directory of records that map program ids
 * and class ids to the library's file (see docs/components.md). Same status convention as
 * quorvel.h. */
#ifndef QUORVEL_COMPONENT_H
#define QUORVEL_COMPONENT_H

#include "quorvel/quorvel.h"

#ifdef __cplusplus
extern "C" {
#endif

/** Makes instances of one creatable class. */
typedef struct qv_factory_s* qv_factory;

/** The class factory for a class id written "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"; 429 when no
 * creatable class has it. The factory counts as a live object for the unload query. */
QV_API qv_status qv_get_class_object(const char* clsid, qv_factory* out);
/** A new instance of the factory's class. */
QV_API qv_status qv_factory_create(qv_factory factory, qv_object* out);
/** Gives the factory back; NULL does nothing. */
QV_API qv_status qv_factory_release(qv_factory factory);

/** 1 when no library object and no factory is alive, so the library may be unloaded; else 0. */
QV_API int qv_can_unload_now(void);

/** Writes the registration record of this library into `directory` (NULL: the user's data
 * directory, $XDG_DATA_HOME/quorvel/components or ~/.local/share/quorvel/components, created as
 * needed), replacing an older one. 75 when the record cannot be written. */
QV_API qv_status qv_register_server(const char* directory);
/** Removes the record again; removing one that is not there succeeds. */
QV_API qv_status qv_unregister_server(const char* directory);

/** Creates a class by program id or braced class id through the records in `directory` (NULL as
 * above): loads the library file the record names and asks its class factory. 429 when no
 * record has the class, 48 when the library file cannot be loaded. */
QV_API qv_status qv_create_registered(const char* directory, const char* name, qv_object* out);

#ifdef __cplusplus
}
#endif

#endif /* QUORVEL_COMPONENT_H */
