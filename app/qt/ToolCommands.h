// The frame's commands that run the budget's tools and dialogs: File > Import, "P&rinter
// Setup...", the templates, the allocation plan, the two confirmations and the six reports.
#pragma once

class TMainWindow;

// Connects the commands to their work; the printer setup is available at once.
void BindToolCommands(TMainWindow& window);
// The commands that need an open budget follow whether one is open.
void UpdateToolCommands(TMainWindow& window, bool open);
