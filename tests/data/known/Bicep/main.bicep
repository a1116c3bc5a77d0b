// Storage account of the demo.
param location string = resourceGroup().location
param prefix string = 'demo'

/* Names must be globally unique,

   so a suffix is added. */
var name = '${prefix}${uniqueString(resourceGroup().id)}'
var note = 'It\'s // not a comment'
var script = '''
  // kept as text
'''

resource account 'Microsoft.Storage/storageAccounts@2023-01-01' = {
  name: name
  location: location // same region
  kind: 'StorageV2'
  sku: { name: 'Standard_LRS' } /* cheapest */
}
