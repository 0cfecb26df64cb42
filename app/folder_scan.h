// Which files a folder scan adds to the job list, and in what order: the
// folders below the chosen one, depth first (each folder after the folders
// inside it, so the chosen folder comes last), then, folder by folder, each
// file in it. A folder whose name begins with "." is not entered, nor is a
// junction or a symbolic link to a folder: a link back up the tree would
// make the walk endless. Every file is added whatever its attributes.
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

// The folder with one "\" at its end.
std::string WithTrailingSeparator(const std::string& folder);

// Every folder to scan, the chosen `root` last. `cancelled` is asked before
// each folder is entered; once it answers true the walk stops.
std::vector<std::string> FoldersToScan(const std::string& root, const ListFolder& list,
                                       const std::function<bool()>& cancelled);

// Full paths of the files directly in `folder`, in listing order.
std::vector<std::string> FilesIn(const std::string& folder, const ListFolder& list);

}  // namespace tulvex
