// Every persistent class of the budget and configuration files, entered in the stream registry.
#pragma once

// Registers them all before any stream is opened. Safe to call twice.
void RegisterQuilletClasses();
