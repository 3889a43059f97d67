// The export boundary: every Plexor function is a function-try-block ending
// in PLEXOR_CATCH with its failure value, so nothing thrown inside the
// engine (running out of memory included) unwinds into a C host.
#pragma once

#define PLEXOR_CATCH(failure) \
  catch (...) {               \
    return failure;           \
  }
#define PLEXOR_CATCH_VOID \
  catch (...) {           \
  }
