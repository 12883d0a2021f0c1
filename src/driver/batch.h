// The batch form of HP-GL/2 mode: `penwright --hpgl2 [options] FILE...`.
#pragma once

// Converts every plot the command line names, each as a run of its own, and returns the exit
// status: 2 when an input could not be read or an output not written, else 1 when a run counted
// errors, else 0.
int run_batch(int argc, char** argv);
