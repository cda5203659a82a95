#pragma once
// Keeps the threads of an OpenMP team on separate processors. The system
// may wake a sleeping team onto one processor and leave it there for longer
// than a small factorization lasts; threads that then wait for each other
// share one processor's time, and a step that takes a millisecond takes a
// scheduler tick. Called by every thread of the team, at the start of a
// parallel region (it holds a barrier). cpus: room for one entry per
// thread, shared by the team.
#include <vector>

void SpreadTeam(std::vector<int>& cpus);
