// The engine writes its screenshots into its working folder, named shot0001.png and on.
// While the screenshot folder does not exist yet the engine works elsewhere; a shot taken
// then is moved into the screenshot folder once the engine has written it.
#pragma once

#include <string>

namespace orvella {

bool IsFolder(const std::string& path);
// Both name one folder (through links too); false when either does not exist.
bool SameFolder(const std::string& a, const std::string& b);
// "shot0007.png": the engine's name for its shot number 7.
std::string ShotFileName(int number);
// Moves the engine's shot `number` from one folder into another under the first name
// shot<n>.png (n from `number` on) that no file there has, never replacing a file, across
// file systems too. Returns n; 0 when the shot could not be moved (it stays where it is).
int MoveShot(const std::string& fromFolder, int number, const std::string& toFolder);

}  // namespace orvella
