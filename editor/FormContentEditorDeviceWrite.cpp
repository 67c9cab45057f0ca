// Device write workflows of the main window: save, erase, device-to-device copy and rename.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "Device.h"

void FormContentEditor::_initializeDeviceWrite() {}

void FormContentEditor::_handleDeviceWriteRequestAskConfirmation()
{
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceWriteRequestForSaveDevice()
{
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceWriteRequestForEraseDevice()
{
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceWriteRequestForCopyDevice()
{
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceReadRequestForVerifyAfterWrite()
{
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceReadRequestForVerifyAfterErase()
{
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceReadRequestForCopyWizardSourceDevice()
{
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleDeviceReadRequestForCopyWizardTargetDevice()
{
    Device::releaseSelectedDevice();
}

void FormContentEditor::_handleMessageBoxAnswerForSaveDevice(ViewContentMessageBoxDialog::Button)
{
    Device::releaseSelectedDevice();
}
