/* zev485: the bus library of the operator station. Talks to the temperature
 * controllers on the RS485 line, polls them cyclically and keeps their latest
 * values, answers text commands and writes the day files of the current tool.
 *
 * Plain C interface, standard calling convention, ANSI (Windows-1252) strings.
 * byte = uint8_t, Integer = int16_t, Long = int32_t.
 * Every function is safe to call from any thread while the poller runs. */
#ifndef ZEV485_H
#define ZEV485_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define ZEV485_API __attribute__((visibility("default")))

/* No-value marker of every zone value, parameter and day-file field. */
#define ZEV485_NOVALUE (-10024)

/* Results of ZEV485_SetValEx and ZEV485_SetGlobVal, and the status of ZEV485_Ask.
 * The functions return them as int16_t (the numbers below never change).
 * The wire protocol, time-outs and COM port mapping: docs/protocol.md. */
typedef enum ZEV485_Result {
    ZEV485_OK = 0,           /* accepted (Ask: answered; the reply may still be a NAK) */
    ZEV485_REFUSED = 1,      /* the controller answered NAK (writes only) */
    ZEV485_NO_ANSWER = 2,    /* no answer within the time-out, after every repetition */
    ZEV485_DAMAGED = 3,      /* only damaged or foreign replies came back */
    ZEV485_PORT_CLOSED = 4,  /* the master port is not open (or its device failed) */
    ZEV485_BAD_ARGUMENT = 5  /* nothing was sent */
} ZEV485_Result;

/* Opens the master port (the line to the controllers). port 1..18 (0 closes),
 * mode 0 (RS485 converter on a serial port), 6 (Bluetooth serial link) or -1
 * (kernel RS485 driver). timeout in ms per telegram, retry = repetitions of an
 * unanswered telegram. Returns 1 when the port is open. */
ZEV485_API uint8_t ZEV485_SetMasterPort(uint8_t port, int16_t mode, int32_t baud,
                                        int16_t timeout, int16_t retry);

/* Opens the slave port that answers another master for the controllers from
 * firstAddress on, out of the library's cache. All arguments 0 close it.
 * Returns non-zero when open. */
ZEV485_API uint8_t ZEV485_SetSlavePort(uint8_t port, int16_t mode, int32_t baud,
                                       int16_t timeout, int16_t retry, int16_t firstAddress);

/* Non-zero when serial port 1..18 can be opened now. */
ZEV485_API uint8_t ComPortAvailable(int16_t port);

/* Sends the NUL-terminated text command in buffer (e.g. "G01?KAN=") and
 * replaces it by the NUL-terminated raw reply (at most 255 characters plus NUL).
 * *status: 0 answered; non-zero: no answer, a damaged reply, or offline.
 * The raw reply is "Gaa=" value, two check characters, ETX; or "Gaa" ACK/NAK,
 * two check characters, ETX; empty when status is non-zero. A command to
 * address 00 is a broadcast: sent once, status 0, empty reply. */
ZEV485_API void ZEV485_Ask(char *buffer, int16_t *status);

/* Latest cached value of a zone: kind 1 setpoint, 2 actual value, 3 status word,
 * 4 output %, 5 current in 0.1 A, 6 outputs on (non-zero). ZEV485_NOVALUE when
 * never read; a status word below 0 when the controller stopped answering.
 * Status word of a failing controller: -1 no answer, -2 damaged replies,
 * -3 block read refused; its other kinds read ZEV485_NOVALUE. Kind 6 is 1 only
 * while the controller's last answer said its outputs are on, else 0. */
ZEV485_API int32_t ZEV485_GetVal(uint8_t address, uint8_t channel, uint8_t kind);

/* Writes one zone value: parameter 0 setpoint, 1..28 zone parameter, 2001 mode,
 * 2002 self-tuning, 2003 tuning-fault acknowledge, 3000 output rate.
 * Returns a ZEV485_Result: ZEV485_OK when the controller accepted it. */
ZEV485_API int16_t ZEV485_SetValEx(uint8_t address, uint8_t channel, int16_t parameter,
                                   int16_t value);

/* Writes a controller-wide value by name ("?APM", "?ENA", ...). Returns a
 * ZEV485_Result: ZEV485_OK when accepted. */
ZEV485_API int16_t ZEV485_SetGlobVal(uint8_t address, const char *name, int32_t value);

ZEV485_API void ZEV485_SetOnline(uint8_t address, uint8_t flag);
ZEV485_API void ZEV485_EnableCyclicScan(uint8_t flag);
ZEV485_API void ZEV485_FileLogging(uint8_t flag);
ZEV485_API void ZEV485_Set_AnzKan(uint8_t address, uint8_t channels);
ZEV485_API void ZEV485_Set_Master(uint8_t address, uint8_t masterAddress);
ZEV485_API void ZEV485_GetComStatus(uint8_t address, int32_t *good, int32_t *errors);
ZEV485_API void ZEV485_ResComStatus(void);
ZEV485_API void ZEV485_SetLogFileDir(const char *directory);
ZEV485_API void ZEV485_Equalize_Clocktime(int32_t secondsSinceMidnight);

/* Writes the library version "a.b.c.d" (NUL-terminated) into buffer. */
ZEV485_API void ZEV485_Get_Version(char *buffer, int16_t size);

#ifdef __cplusplus
}
#endif

#endif /* ZEV485_H */
