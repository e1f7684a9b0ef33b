#pragma once
// Writes annotation texts into the annotation areas of an EDF+ file's data records. EDFlib
// shortens annotation texts to 40 bytes and keeps them in memory until the file is closed, so
// Somatrix lets EDFlib write the records and their time-keeping notes and places the annotations
// itself, after a clean close and when it repairs a recording cut short.
#include <string>
#include <vector>

#include "recording/annotation.h"

namespace somatrix {

// Places each annotation in the record of its onset or the next one with room; an annotation
// already present (a close that was cut short) is not written twice. A text too long for any
// area is shortened at a character boundary. False with `error` when the file cannot be
// changed, or when some annotation found no room (the others are still written).
bool PlaceAnnotations(const std::string& path, const std::vector<CAnnotation>& annotations,
                      std::string& error);

// The annotation-list entry ("time-stamped annotation list") of one annotation, with its
// terminating zero byte.
std::string FormatTal(const CAnnotation& annotation);

// How many annotation signals a file of `records` data records needs for `annotations`
// annotations (at least 1, at most 64).
int AnnotationSignalsFor(size_t annotations, long long records);

}  // namespace somatrix
