// The printer jobs that plot files come in: PCL escape sequences, the PCL and PJL states.
#pragma once

#include <cstddef>

enum class ReaderState { hpgl2, pcl, pjl };
extern ReaderState reader_state;

// What the printer job does to the page, for the reader to hand on: a PCL reset (ESC E, in any
// state) or a form feed (in the PCL state), with where it stood.
enum class JobEvent { none, reset, form_feed };
struct PendingEvent {
    JobEvent event = JobEvent::none;
    int line = 0, column = 0;
};
extern PendingEvent job_event;

// Skips the escape sequence at the read position (an ESC), and enters the state it asks for.
void skip_escape();

// In PCL or PJL state: skips what is not HP-GL/2 until a sequence or a PJL line enters
// HP-GL/2 state again, or until a job event. False at the end of the input.
bool skip_to_hpgl2();

// Whether the bytes at data[at] are the job end ESC %-12345X, which ends a job wherever it
// stands (reading on as needed, keeping from `keep`).
bool is_job_end(size_t at, size_t& keep);
