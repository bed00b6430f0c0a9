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

// Kills a child that calls save(0), save(1), save(0) ... `times` times; returns
// "T torn, at most L left over": T reads that were neither whole version, L the
// most leftover files seen at once (one at most also says a kill caught a save half done).
inline std::string KillWhileSaving(int times, const std::function<void(unsigned)>& save,
                                   const std::function<std::string()>& read, const std::string (&whole)[2],
                                   const std::function<int()>& leftovers) {
    std::mt19937 rng(14);  // the same moments every run
    std::uniform_int_distribution<useconds_t> delay(50, 3000);
    int torn = 0;
    int mostLeft = 0;
    for (int n = 0; n < times; ++n) {
        const pid_t saver = fork();
        if (saver == 0) {
            alarm(10);  // never outlives a parent that stopped killing
            for (unsigned i = 0;; ++i) save(i % 2);
        }
        if (saver < 0) return "fork failed";
        usleep(delay(rng));
        kill(saver, SIGKILL);
        waitpid(saver, nullptr, 0);
        const std::string now = read();
        torn += now != whole[0] && now != whole[1];
        mostLeft = std::max(mostLeft, leftovers());
    }
    return std::to_string(torn) + " torn, at most " + std::to_string(mostLeft) + " left over";
}
