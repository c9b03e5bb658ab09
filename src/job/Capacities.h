#pragma once

// Fixed capacities of a job. Data coming in (typed rows, command-line rows, job files) is
// checked against them; the engine never writes past them.
namespace tallora {

inline constexpr int MaxStockRows = 100;
inline constexpr int MaxCutRows = 1000;
// Patterns one calculation may make, and a job file may hold: far more than the most that 1000
// rows give, so that only a job too large to be real ever meets it.
inline constexpr int MaxPatterns = 1000000;
inline constexpr int MaxPatternLengths = 1000;
// Pieces one candidate bar of the longest-first fill may hold.
inline constexpr int MaxBarPieces = 1000;
// Longest stock or cut length that may be entered, in millimetres.
inline constexpr int MaxLength = 18300;

}  // namespace tallora
