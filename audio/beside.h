#pragma once
// Memos kept as a file of their own beside the picture: the picture's base
// name with ".wav" in any case (P1010006.JPG + P1010006.WAV), or the WAV
// file that the picture's Exif tag RelatedSoundFile names in the same folder
// (8.3 names such as "PICT0057.WAV", as Exif has them; matched in any case,
// as a memory card may show them either way).
#include "platform/cstring.h"
#include "platform/file.h"

/// The name of the sound file beside the picture at path (open in picture),
/// or empty when there is none. Only a regular file counts, not a link. Each folder's
/// listing is read once and kept while the folder stays unchanged, so a
/// picture costs one lookup, and one fstatat when a name matches; the Exif
/// segment is read only when the folder holds a WAV file.
CString FindBesideSoundFile(const CString& path, const CSourceFile& picture);

/// The picture's Exif RelatedSoundFile (in the Exif IFD, or in the
/// Interoperability IFD where some cameras put it), without the spaces it
/// is padded with, when it is a plain name of a file in the same folder
/// (no '/', no ".."); empty otherwise, also for the blanks and the tag's own
/// name that cameras write when they recorded nothing. Read by libexif from
/// the picture's Exif segment bytes.
CString ReadRelatedSoundFile(const CSourceFile& picture);

/// The memo the camera recorded but that is gone: the picture's
/// RelatedSoundFile as above when nothing of that name, in any case, is in
/// the picture's folder. Empty when the picture names no memo, the file is
/// there (a memo or not), or the picture cannot be read. It costs an open
/// and the Exif segment's read, so it is asked only of a picture whose
/// presence check said No.
CString FindMissingMemo(const CString& path);
