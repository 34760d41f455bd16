#pragma once

// The edge of a panel-like control: none, a sunken line, a raised line, or empty space.
enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
