#pragma once
// Starts the installed product as the signed-in user, when it is there.

// The product's program in the installation folder; nothing happens when it is missing.
void LaunchInstalledProduct();
