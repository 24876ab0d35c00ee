#ifndef LCD_POWER_UP_H
#define LCD_POWER_UP_H

// Brings the controller to a blank display with the cursor hidden and its
// address at 0, from whatever state it was left in.
void PowerUp();

#endif  // LCD_POWER_UP_H
