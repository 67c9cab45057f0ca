// Device read workflows of the main window: acquiring a device, dispatching the answers of the
// shared pages by _pendingRequest, opening a device and showing its information.
#include "FormContentEditor.h"
#include "ui_FormContentEditor.h"

#include "Device.h"
#include "ViewContentDeviceSelection.h"
#include "ViewContentReadDevice.h"

void FormContentEditor::_initializeDeviceRead()
{
    connect(static_cast<ViewContentDeviceSelection*>(viewGetContent(VIEW_ID_DEVICE_SELECTION)),
            &ViewContentDeviceSelection::deviceSelected, this,
            &FormContentEditor::_slotViewContentDeviceSelectionDeviceSelected);
    connect(static_cast<ViewContentReadDevice*>(viewGetContent(VIEW_ID_READ_DEVICE)),
            &ViewContentReadDevice::readFinished, this,
            &FormContentEditor::_slotViewContentReadDeviceReadFinished);
    connect(static_cast<ViewContentMessageBoxDialog*>(viewGetContent(VIEW_ID_MESSAGE_BOX_DIALOG)),
            &ViewContentMessageBoxDialog::dialogExited, this,
            &FormContentEditor::_slotViewContentMessageBoxDialogDialogExited);
}

int FormContentEditor::_selectDevice()
{
    // Not yet written: every workflow goes through the selection page.
    viewPush(VIEW_ID_DEVICE_SELECTION);
    return 1;
}

void FormContentEditor::_handleDeviceReadRequestForOpenDevice()
{
    Device::releaseSelectedDevice();
}

void FormContentEditor::_slotViewContentDeviceSelectionDeviceSelected(bool isDeviceSelected)
{
    if (!isDeviceSelected)
        return;

    // The same next steps that the starting slots take when _selectDevice() found one device.
    switch (_pendingRequest)
    {
    case PENDING_REQUEST_OPEN_DEVICE:
        viewPush(VIEW_ID_INSERT_READING_MASTER_PASSWORD);
        break;
    case PENDING_REQUEST_SAVE_DEVICE_CONFIRMATION:
        _handleDeviceWriteRequestAskConfirmation();
        break;
    case PENDING_REQUEST_SHOW_DEVICE_INFORMATION:
        viewPush(VIEW_ID_SHOW_DEVICE_INFORMATION);
        break;
    case PENDING_REQUEST_CHANGE_DEVICE_NAME:
        viewPush(VIEW_ID_CHANGE_DEVICE_NAME);
        break;
    case PENDING_REQUEST_ERASE_DEVICE:
        _handleDeviceWriteRequestForEraseDevice();
        break;
    case PENDING_REQUEST_COPY_DEVICE_SOURCE:
        viewPush(VIEW_ID_READ_DEVICE);
        break;
    case PENDING_REQUEST_COPY_DEVICE_TARGET:
        _handleDeviceWriteRequestForCopyDevice();
        break;
    default:
        break;
    }
}

void FormContentEditor::_slotViewContentReadDeviceReadFinished(int code)
{
    if (code != 0)
    {
        QString message;
        switch (code)
        {
        case -1:
            message = tr("Could not make the device LED blink, aborting.");
            break;
        case -2:
            message = tr("Could not read the device main memory, aborting.");
            break;
        case -3:
            message = tr("Could not read the device backup memory, aborting.");
            break;
        default:
            message = tr("Could not stop device led from blinking, aborting.");
            break;
        }
        viewPushMessageBoxDialog(ViewContentMessageBoxDialog::ICON_ERROR, tr("Error"), message,
                                 ViewContentMessageBoxDialog::BUTTON_OK,
                                 ViewContentMessageBoxDialog::BUTTON_OK);
        Device::releaseSelectedDevice();
        return;
    }

    switch (_pendingRequest)
    {
    case PENDING_REQUEST_OPEN_DEVICE:
        _handleDeviceReadRequestForOpenDevice();
        break;
    case PENDING_REQUEST_SAVE_DEVICE_VERIFICATION:
        _handleDeviceReadRequestForVerifyAfterWrite();
        break;
    case PENDING_REQUEST_ERASE_DEVICE:
        _handleDeviceReadRequestForVerifyAfterErase();
        break;
    case PENDING_REQUEST_COPY_DEVICE_SOURCE:
        _handleDeviceReadRequestForCopyWizardSourceDevice();
        break;
    case PENDING_REQUEST_COPY_DEVICE_TARGET:
        _handleDeviceReadRequestForCopyWizardTargetDevice();
        break;
    default:
        break;
    }
}

void FormContentEditor::_slotViewContentMessageBoxDialogDialogExited(
    ViewContentMessageBoxDialog::Button button)
{
    switch (_pendingRequest)
    {
    case PENDING_REQUEST_OPEN_DEVICE_CONFIRM_UNSAVED_DATA:
        // Answer to "overwrite unsaved data?": the open workflow is not written yet.
        break;
    case PENDING_REQUEST_SAVE_DEVICE_CONFIRMATION:
        _handleMessageBoxAnswerForSaveDevice(button);
        break;
    case PENDING_REQUEST_REMOVE_PASSWORD:
    case PENDING_REQUEST_REMOVE_TAB:
        _handleMessageBoxAnswerForEditing(button);
        break;
    default:
        // Notices (errors, successes) need no answer.
        break;
    }
}
