// Junctions, symbolic links and hard links in folders that users control.
//
// The setup runs elevated and writes, moves and deletes in folders another
// user, or a process of the user who elevated it, can change: %TEMP%, the
// data folders, the shortcut folders, a folder picked in the browser. A link
// planted there turns such a write or delete against any file. So a folder
// the setup works in must not be, or lie under, a link that a
// non-administrator made; links made by the system or an administrator (a
// relocated profile, a redirected Documents) are followed as usual. Written
// files never go through a link or into a file with another name (a second
// hard link), and a folder tree is deleted without entering its links.
//
// https://learn.microsoft.com/windows/win32/fileio/reparse-points
#pragma once

#include <windows.h>

#include "text/fixed_text.h"

// How links are judged. The setup asks the file system; a test puts its own
// judge in where Wine cannot make a link a user owns.
struct LinkJudge {
  // Whether the entry at `path` is itself a reparse point (not followed).
  bool (*is_link)(const char* path);
  // Whether the link at `path` belongs to SYSTEM, the Administrators or
  // TrustedInstaller.
  bool (*made_by_administrators)(const char* path);
};
// Makes `judge` the one in force; nullptr restores the file system's.
void SetLinkJudge(const LinkJudge* judge);

bool IsLink(const char* path);

// The first folder of `path`, from the drive down, that is a link a
// non-administrator could have made; empty when there is none.
Text UntrustedLinkOn(const char* path);
// Aborts through LogError ("Directory %s lies under a link that is not the
// administrators': %s") when `path` is or lies under such a link.
void RefuseUntrustedLinks(const char* path);

// Whether the file or folder open as `handle` is the one `path` names: a
// check by name says nothing about what a later open by that name reaches,
// if a link was swapped in between. Links of the administrators on the way
// are followed.
bool HandleIsAt(HANDLE handle, const char* path);

// Removes the name `path` when it would carry a write to another file: a
// link, or a file with more than one hard link. The other file stays as it
// is. False when such a name is there and cannot be removed.
bool UnlinkIfLeadingElsewhere(const char* path);
