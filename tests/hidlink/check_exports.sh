#!/usr/bin/env bash
# The library exports exactly its ten functions and nothing else.
set -euo pipefail
library=$1
expected="Close_VQ_device
Get_current_profile_id
Get_fw_info
Get_fw_version
Open_VQ_device
Read_profile
Set_LED_black_out
Set_LED_black_out_off
Set_current_profile_id
Write_profile"
actual=$(nm -D --defined-only "$library" | awk '{print $3}' | sort)
if [ "$actual" != "$expected" ]; then
  echo "exported symbols differ from the ten functions:"
  diff <(echo "$expected") <(echo "$actual") || true
  exit 1
fi
echo "exports: the ten functions, nothing else"
