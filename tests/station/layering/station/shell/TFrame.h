// The frame of the fixture.
#pragma once
