// Which files a folder scan adds to the job list, and in what order: the
// folders below the chosen one, depth first (each folder after the folders
// inside it, so the chosen folder comes last), each folder's own files in
// listing order. A folder whose name begins with "." is not entered, nor is
// a junction or a symbolic link to a folder: a link back up the tree would
// make the walk endless. Every file is added whatever its attributes.
//
// The walk hands each folder's files over as soon as it has finished the
// folders inside it, so that rows appear while the rest of a large tree is
// still being walked.
//
// The folder listing comes through a function, so the rules are tested
// with made-up trees as well as real ones.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tulvex {

struct FolderEntry {
  std::string name;
  bool is_folder = false;
  bool is_link = false;  // a reparse point: junction or symbolic link
};

// The entries of one folder ("." and ".." may be among them); empty when it
// cannot be listed.
using ListFolder = std::function<std::vector<FolderEntry>(const std::string& folder)>;

// One folder of the walk: its full path, the full paths of its files, and
// the share of the whole walk finished with it (0..1; 1 after the chosen
// folder). The share splits each folder's part evenly among the folders
// inside it and its own files, so it only ever grows.
struct ScannedFolder {
  std::string folder;
  std::vector<std::string> files;
  double done = 0;
};

// The folder with one "\" at its end.
std::string WithTrailingSeparator(const std::string& folder);

// Walks the tree below `root` and hands every folder to `take`, in scan
// order. `cancelled` is asked before each folder is listed; once it answers
// true the walk stops and no further folder is handed over.
void WalkFolderTree(const std::string& root, const ListFolder& list, const std::function<bool()>& cancelled,
                    const std::function<void(ScannedFolder&&)>& take);

}  // namespace tulvex
