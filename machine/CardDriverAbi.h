/*
 * The C functions Korvel-V calls in a motion card's driver library.
 *
 * A machine maker whose card is not the one the program was written for
 * builds a shared library (ELF, same processor as the program) that exports
 * these functions with C linkage and these exact names and argument lists,
 * and points Card.ini (or --card library:PATH) at it. The program loads the
 * library once at start-up, resolves every function below before calling any
 * of them, and never loads or resolves anything again while it runs.
 *
 * This header is plain C and may be included by the driver itself so that
 * the compiler checks the signatures.
 *
 * Numbers
 *   card     the card number from Card.ini (0 unless set there); it is
 *            passed unchanged to every function that takes a card.
 *   axis     1 X feed, 2 Y bending arm, 3 Z cutter up/down, 4 A swing or
 *            infeed.
 *   pulses   signed 32-bit pulse counts, relative for moves, absolute for
 *            positions.
 *   speeds   pulses per second; accelerations in the card's own unit, the
 *            program passes the acceleration parameter x 10000.
 *   inputs   0 to 23, outputs 0 to 11, levels 0 or 1.
 *
 * Results
 *   adt8940a1_initial returns the number of cards found; below 1 means no
 *   card, and the program then loads nothing else from the library and runs
 *   on its simulated machine. A card number at or above the count found is
 *   refused the same way.
 *
 *   read_fifo_empty, read_bit and get_out return their value (0 or 1); a
 *   negative result is an error code.
 *
 *   Every other function returns 0 when it did what was asked and any other
 *   value as an error code. Read-backs are written through the pointer,
 *   which is never null.
 *
 *   The program treats any error code as a machine fault: the running job,
 *   homing or jog is stopped at once and the operator is told which
 *   function returned which code. The driver must therefore not report
 *   ordinary states (an axis still moving, a queue not yet empty) as errors.
 *
 * Timing
 *   Every function returns at once; none may wait for motion. The program
 *   polls get_status, get_inp_status and read_fifo_empty every 30 ms, reads
 *   all 24 inputs in each of these ticks, and calls everything from one
 *   thread.
 */
#ifndef KORVEL_MACHINE_CARD_DRIVER_ABI_H
#define KORVEL_MACHINE_CARD_DRIVER_ABI_H

#include <stdint.h>

#if defined(__GNUC__)
#define KORVEL_CARD_EXPORT __attribute__((visibility("default")))
#else
#define KORVEL_CARD_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Opens the card driver; returns the number of cards found. */
KORVEL_CARD_EXPORT int adt8940a1_initial(void);

/* Limit inputs of an axis: positive and negative limit enable (1/0) and the
 * active level. At start-up every axis gets (1, 1, 0); axis 4 gets (0, 0, 0)
 * when the infeed's own limit switches are in use. */
KORVEL_CARD_EXPORT int set_limit_mode(int card, int axis, int positive_enable, int negative_enable,
                                      int level);
/* The axis stops by itself when its stop-0 (home) input reaches `level`. */
KORVEL_CARD_EXPORT int set_stop0_mode(int card, int axis, int enable, int level);
/* Axis 4 stops by itself when its stop-1 (tool-setting) input reaches
 * `level`. */
KORVEL_CARD_EXPORT int set_stop1_mode(int card, int axis, int enable, int level);

/* Profile of the next single-axis move. */
KORVEL_CARD_EXPORT int set_startv(int card, int axis, int32_t pulses_per_second);
KORVEL_CARD_EXPORT int set_speed(int card, int axis, int32_t pulses_per_second);
KORVEL_CARD_EXPORT int set_acc(int card, int axis, int32_t acceleration);

/* Starts a relative move and returns at once. */
KORVEL_CARD_EXPORT int pmove(int card, int axis, int32_t pulses);
/* Decelerating stop of the axis (ends an interpolation it takes part in). */
KORVEL_CARD_EXPORT int dec_stop(int card, int axis);

/* *moving: non-zero while the axis moves, by its own move or in an
 * interpolation. */
KORVEL_CARD_EXPORT int get_status(int card, int axis, int32_t* moving);
/* *running: 1 while an interpolation runs. */
KORVEL_CARD_EXPORT int get_inp_status(int card, int32_t* running);

/* Queues one linear X-Y segment of relative pulses at `speed` along the
 * path; queued segments run back to back. axis1 is 1 and axis2 is 2. */
KORVEL_CARD_EXPORT int fifo_inp_move2(int card, int axis1, int axis2, int32_t delta1,
                                      int32_t delta2, int32_t speed);
/* Empties the interpolation queue. */
KORVEL_CARD_EXPORT int reset_fifo(int card);
/* 0 while the queue still holds segments waiting to run, 1 when empty. */
KORVEL_CARD_EXPORT int read_fifo_empty(int card);

/* Command position; actual position = encoder count (the feed encoder is
 * on axis 1). */
KORVEL_CARD_EXPORT int get_command_pos(int card, int axis, int32_t* position);
KORVEL_CARD_EXPORT int get_actual_pos(int card, int axis, int32_t* position);
/* Redefine the counters without motion. */
KORVEL_CARD_EXPORT int set_command_pos(int card, int axis, int32_t position);
KORVEL_CARD_EXPORT int set_actual_pos(int card, int axis, int32_t position);

/* *speed: current speed in pulses per second. */
KORVEL_CARD_EXPORT int get_speed(int card, int axis, int32_t* speed);

/* Input level 0 or 1. */
KORVEL_CARD_EXPORT int read_bit(int card, int input);
/* Sets an output to 0 or 1. */
KORVEL_CARD_EXPORT int write_bit(int card, int output, int value);
/* Output level 0 or 1 as last written. */
KORVEL_CARD_EXPORT int get_out(int card, int output);

/*
 * Simulators only. A driver that simulates a machine instead of driving one
 * may export these as well; the program looks for them but needs neither.
 *
 * korvel_sim_folder is called once before adt8940a1_initial with the
 * application folder (UTF-8), where the simulator may read its machine
 * description. Non-zero refuses the folder, and the card is then treated
 * as missing.
 *
 * korvel_sim_advance moves the simulated machine on by `milliseconds`. When
 * it is present the program runs in virtual time: instead of waiting 30 ms
 * of wall time between two ticks it calls korvel_sim_advance(30), so a long
 * job runs in seconds and always gives the same result. Without it the
 * program runs in real time, as on a real card.
 */
KORVEL_CARD_EXPORT int korvel_sim_folder(const char* application_folder);
KORVEL_CARD_EXPORT int korvel_sim_advance(int milliseconds);

#ifdef __cplusplus
}
#endif

#endif /* KORVEL_MACHINE_CARD_DRIVER_ABI_H */
