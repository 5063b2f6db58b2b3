// Folders and files of the user's own on POSIX systems: places that no other
// user of the machine can write, replace or point elsewhere. The host keeps
// its capture file, its single-instance lock, its logs and the library's data
// only in such places, and the stand-in library its logs and data too.
#pragma once

#include <string>

namespace privatefolder {

// Opens the folder `path` (absolute) for use with the *at() calls, after
// checking that no other user can change what it holds: the folder itself is
// a real folder (not a link) of this user's that no one else may write, and
// every folder on the way to it belongs to this user or to root and is
// writable by no one else, or has the sticky bit (as /tmp has), where others
// cannot remove or rename what is ours. Links on the way are followed only
// where they lie in such a folder and belong to this user or to root. With
// `create`, missing folders are made, 0700. Returns the descriptor (O_PATH),
// or -1 with errno: EPERM for a folder that another user could change, ELOOP
// for a link in the folder's place, EINVAL for a relative path.
int openOwnFolder(const std::string& path, bool create);

// Whether `path` is such a folder, made with its parents when missing.
bool makeOwnFolder(const std::string& path);

// Opens `name` in the folder `folder` (from openOwnFolder) with `access`
// (O_WRONLY or O_RDWR), creating it 0600. Never follows a link and never
// blocks (a FIFO cannot hang the caller); anything but a regular file of this
// user's is closed untouched and refused with EPERM (ELOOP for a link).
// Returns the descriptor, blocking and close-on-exec, or -1 with errno.
int openOwnFile(int folder, const char* name, int access);

// The user's home folder: $HOME, else the password database's entry; empty
// when neither names one.
std::string homeFolder();

// The user's state folder: $XDG_STATE_HOME, else <home>/.local/state; empty
// without a home.
std::string stateFolder();

}  // namespace privatefolder
