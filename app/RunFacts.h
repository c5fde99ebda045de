#pragma once
// The first lines of every run's log: which installer, started how, on which system, with which
// rights. Everything a support question begins with.
void DiagnoseRunFacts();
