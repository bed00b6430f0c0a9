// SPDX-License-Identifier: GPL-3.0-or-later
// A copy of the program killed at random moments while it saves in a loop; what
// the file holds after each kill is compared with the two whole versions.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>

// Kills, `times` times, a child that calls save(0), save(1), save(0) ... or with
// two copies, two children, one calling save(0) and one save(1) over and over;
// returns "T torn, at most L left over": T reads that were neither whole version,
// L the most leftover files seen at once (a kill may catch a save half done).
inline std::string KillWhileSaving(int times, const std::function<void(unsigned)>& save,
                                   const std::function<std::string()>& read, const std::string (&whole)[2],
                                   const std::function<int()>& leftovers, unsigned copies = 1) {
    std::mt19937 rng(14);  // the same moments every run
    std::uniform_int_distribution<useconds_t> delay(50, 3000);
    int torn = 0;
    int mostLeft = 0;
    for (int n = 0; n < times; ++n) {
        pid_t savers[2] = {};
        for (unsigned c = 0; c < copies; ++c) {
            savers[c] = fork();
            if (savers[c] == 0) {
                alarm(10);  // never outlives a parent that stopped killing
                for (unsigned i = 0;; ++i) save(copies == 1 ? i % 2 : c);
            }
            if (savers[c] < 0) return "fork failed";
        }
        usleep(delay(rng));
        for (unsigned c = 0; c < copies; ++c) kill(savers[c], SIGKILL);
        for (unsigned c = 0; c < copies; ++c) waitpid(savers[c], nullptr, 0);
        const std::string now = read();
        torn += now != whole[0] && now != whole[1];
        mostLeft = std::max(mostLeft, leftovers());
    }
    return std::to_string(torn) + " torn, at most " + std::to_string(mostLeft) + " left over";
}
