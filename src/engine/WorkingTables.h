#pragma once

#include <vector>

#include "job/CuttingJob.h"

namespace tallora {

// Scales all working lengths down by their greatest common divisor.
void PreProcess(CuttingJob& job);
int GCD(int a, int b);
int GCDArray(const std::vector<int>& values);
// Compacts and sorts the working tables.
void Recompile(CuttingJob& job);
// Scales everything back to millimetres.
void PostProcess(CuttingJob& job);
// Orders the patterns by stock length, longest first.
void Sort(CuttingJob& job);

}  // namespace tallora
