#pragma once
// Generates trees of camera files for the benchmarks: files with and without
// sound laid out as the camera writes them, other files, nested folders.
#include <cstddef>
#include <string>
#include <vector>

struct TreeSpec {
    int cameraFiles = 1000;  // JPEG files, half of them with sound
    int otherFiles = 0;      // files that are not pictures (".txt")
    int perFolder = 100;     // entries per leaf folder
    int fanout = 10;         // subfolders per folder above the leaves
    bool tiny = false;       // one-byte files in place of camera files
    size_t headBytes = 0;    // when set, camera files cut to their first headBytes
    bool allWithSound = false; // every camera file carries sound
};

struct Tree {
    std::string root;               // ends in '/'
    std::vector<std::string> jpegs; // every camera file, in creation order
    int entries = 0;                // files and folders created
};

// A new folder under $VOCALINE_BENCH_DIR (default /tmp); its path ends in '/'.
std::string MakeBenchFolder();

// Builds the tree in a new folder from MakeBenchFolder, removed by RemoveTree.
Tree MakeCameraTree(const TreeSpec& spec);
void RemoveTree(const Tree& tree);

// The bytes of a camera file with sound (the sample) and of one without.
const std::vector<unsigned char>& CameraFileWithSound();
const std::vector<unsigned char>& CameraFileWithoutSound();
