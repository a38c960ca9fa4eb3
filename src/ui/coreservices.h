// Hands the shared helpers their message boxes, folder and computer browsers
// and message processing (core/uiservices.h): the program calls this once its
// application exists.
#pragma once

void InstallFrameworkServices();
