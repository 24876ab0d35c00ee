// Puts every process-wide record of the driver, the simulated clock and the
// fake port libraries back to their load-time values, as a fresh load would.
#ifndef TESTS_SUPPORT_DRIVER_RECORDS_H
#define TESTS_SUPPORT_DRIVER_RECORDS_H

void ResetDriverRecords();

#endif  // TESTS_SUPPORT_DRIVER_RECORDS_H
