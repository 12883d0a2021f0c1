// The run of one conversion, from the banner to the exit status.
#pragma once

int penwright_main(int argc, char** argv);
