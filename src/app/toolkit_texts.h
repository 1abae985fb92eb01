#pragma once
// The toolkit's own texts (message-box buttons, edit-box context menus) in
// Chinese, like every other text of the program.

namespace sirelo {

// Loads Qt's Chinese translations into the running application; false when
// they are not installed (the toolkit then keeps its English texts).
bool InstallChineseToolkitTexts();

}  // namespace sirelo
