// Hands the shared helpers their message boxes and message processing
// (core/uiservices.h): the program calls this once its application exists.
#pragma once

void InstallFrameworkServices();
