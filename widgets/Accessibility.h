#pragma once

// Makes the owner-drawn widgets readable by screen readers through Qt's
// accessibility interfaces: the side bar as a tree of its rows (sections
// and items, named by their captions), the strip as a list of its pictures
// (named by their movies' titles), and both kinds of button as push
// buttons. Each widget calls this when it is made; it installs once.
void InstallAccessibility();
