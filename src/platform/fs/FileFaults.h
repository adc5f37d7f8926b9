#pragma once
// A seam in the file layer: tests make the k-th call of a step fail to prove that no
// failure loses a user's file.

enum class EFileStep { eCreate, eWrite, eFlush, eRename, eRead, eCopy };

namespace FileFaults {
// Makes the nth call (from 1) of step fail from now on; 0 switches it off.
void FailAt(EFileStep step, int nth);
// Switches every fault off and restarts the counts.
void Reset();
// How many calls of step have been made since the last Reset.
int Count(EFileStep step);
// Counts one call of step; true when that call is to fail.
bool Hit(EFileStep step);
}  // namespace FileFaults
